// The dialogs at the display's DPI (VQ_DPI, set in the environment before the run): each
// client area is its design size in twips at that DPI, and every text fits its control.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <sstream>
#include <string>

#include "driver/config_registry.h"
#include "driver/input.h"
#include "driver/system_test.h"
#include "platform/win32/handles.h"

namespace vqtest {
namespace {

const std::wstring kChooser = L"The Vovozevu Velmarr ScreenSaver";

struct DialogCase {
    std::string name;
    const wchar_t* type;  // the stored mode, which Next opens the options of
    enum { None, Next, Escape } opened_by;
    std::wstring caption;
    SIZE twips;
};

void PrintTo(const DialogCase& dialog, std::ostream* out) { *out << dialog.name; }

class Dpi : public SystemTest, public ::testing::WithParamInterface<DialogCase> {
protected:
    void SetUp() override {
        SystemTest::SetUp();
        const wchar_t* text = _wgetenv(L"VQ_DPI");
        ASSERT_NE(text, nullptr) << "VQ_DPI gives no DPI";
        dpi_ = _wtoi(text);
        const win32::window_dc screen(nullptr);
        ASSERT_EQ(GetDeviceCaps(screen.get(), LOGPIXELSX), dpi_) << "the display is not at VQ_DPI";
    }
    int pixels(LONG twips) const { return static_cast<int>(std::lround(twips * dpi_ / 1440.0)); }

    int dpi_ = 96;
};

struct Measure {
    int dpi;
    std::string clipped;
};

// The design font of a dialog text: the dialog font, except the About box's title and slogan.
// Made here at the DPI as the program makes it: another process's font cannot be used.
win32::unique_hfont design_font(const std::wstring& text, int dpi) {
    struct Design {
        const wchar_t* face;
        double points;
        bool bold, italic;
    };
    Design design{L"MS Sans Serif", 8, false, false};
    if (text == kChooser) design = {L"Arial", 11.25, true, true};
    if (text == L"Three screen savers in one for the ultimate Velmarr fan!")
        design = {L"MS Sans Serif", 8.25, true, false};
    const double at_96 = static_cast<double>(std::lround(design.points * 96 / 72.0));
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(std::min(std::lround(design.points * dpi / 72.0),
                                                std::lround(std::floor(at_96 * dpi / 96.0))));
    font.lfWeight = design.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = design.italic;
    font.lfCharSet = DEFAULT_CHARSET;
    wcscpy(font.lfFaceName, design.face);
    return win32::unique_hfont(CreateFontIndirectW(&font));
}

// Where the text of a control does not fit it, a description; nothing where it does.
std::string clipped_text(HWND control, int dpi) {
    wchar_t text[256] = {};
    wchar_t class_name[32] = {};
    GetWindowTextW(control, text, 256);
    GetClassNameW(control, class_name, 32);
    if (!*text || !IsWindowVisible(control)) return {};
    win32::unique_hfont font = design_font(text, dpi);
    win32::unique_hdc dc(CreateCompatibleDC(nullptr));
    if (!font || !dc) return "no font to measure with; ";
    const win32::select_object selected(dc.get(), font.get());
    RECT client{};
    GetClientRect(control, &client);
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    const bool is_static = _wcsicmp(class_name, L"Static") == 0;
    const LONG_PTR kind = style & BS_TYPEMASK;
    // Check boxes and option buttons draw their box left of the text.
    const bool boxed =
        !is_static && kind != BS_PUSHBUTTON && kind != BS_DEFPUSHBUTTON && kind != BS_GROUPBOX;
    const int room = client.right - (boxed ? GetSystemMetrics(SM_CXMENUCHECK) : 0);
    // Word-wrapped statics break their lines within their width; the others keep one line.
    RECT needed{0, 0, is_static ? client.right : 0, 0};
    DrawTextW(dc.get(), text, -1, &needed,
              DT_CALCRECT | (is_static ? DT_WORDBREAK : DT_SINGLELINE));
    if (needed.right <= room && needed.bottom <= client.bottom) return {};
    std::ostringstream report;
    report << '"' << narrow(text) << "\" needs " << needed.right << " x " << needed.bottom
           << " pixels and has " << room << " x " << client.bottom << "; ";
    return report.str();
}

BOOL CALLBACK collect_clipped(HWND control, LPARAM context) {
    auto& measure = *reinterpret_cast<Measure*>(context);
    measure.clipped += clipped_text(control, measure.dpi);
    return TRUE;
}

TEST_P(Dpi, TheDialogIsItsTwipsAtThisDpiAndEveryTextFits) {
    const DialogCase& dialog = GetParam();
    if (dialog.type) config::set_text(L"Type", dialog.type);
    SaverProcess& run = start(L"/c");
    ASSERT_TRUE(shows_only(run, {kChooser}));
    if (dialog.opened_by == DialogCase::Next) press_with_alt('N');
    if (dialog.opened_by == DialogCase::Escape) press_key(VK_ESCAPE);
    const auto window = window_captioned(run, dialog.caption);
    ASSERT_TRUE(window.has_value()) << narrow(dialog.caption) << " does not show";

    RECT client{};
    ASSERT_TRUE(GetClientRect(window->handle, &client));
    EXPECT_EQ(client.right, pixels(dialog.twips.cx));
    EXPECT_EQ(client.bottom, pixels(dialog.twips.cy));
    Measure measure{dpi_, {}};
    EnumChildWindows(window->handle, collect_clipped, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(measure.clipped, "");
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, Dpi,
    ::testing::Values(
        DialogCase{"chooser", nullptr, DialogCase::None, kChooser, {4710, 3630}},
        DialogCase{"about", nullptr, DialogCase::Escape, L"About " + kChooser, {5730, 3555}},
        DialogCase{
            "drifter_options", L"0", DialogCase::Next, L"VQ ScreenSaver (Drifter)", {4815, 4155}},
        DialogCase{"still_quote_options",
                   L"1",
                   DialogCase::Next,
                   L"VQ ScreenSaver (Still & Quote)",
                   {4605, 3480}},
        DialogCase{
            "flasher_options", L"2", DialogCase::Next, L"VQ ScreenSaver (Flasher)", {5235, 1875}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vqtest
