// The five dialogs at the display's DPI (VQ_DPI, set in the environment before the run):
// each opens on the primary monitor, its client area is its design size in twips at that
// DPI, every text fits its control, and a screen reader, asking from outside the process,
// reads every visible label by its caption.
#include <oleacc.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "driver/config_registry.h"
#include "driver/input.h"
#include "driver/system_test.h"
#include "platform/win32/handles.h"
#include "resources/content/version_values.h"
#include "support/polling.h"

namespace vqtest {
namespace {

using Names = std::vector<std::wstring>;

const std::wstring kChooserInstruction =
    L"Choose the Screen Saver Type which you want. Then choose Next for more options, or OK to "
    L"accept the default configuration for that Saver type.";
// The chooser's description of the Flasher.
const std::wstring kFlasherDescription =
    L"Random images of Velmarr will flash up at assorted locations on your screen.";

std::wstring wide(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

// The accessible name the system's own accessibility layer gives a window's client object;
// nothing when it has none.
std::optional<std::wstring> accessible_name(HWND window) {
    IAccessible* object = nullptr;
    // The interface's id from its declaration: the import library's IID_IAccessible is not
    // the interface id itself.
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
        return std::nullopt;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::optional<std::wstring> result;
    if (object->get_accName(self, &name) == S_OK && name != nullptr)
        result = std::wstring(name, SysStringLen(name));
    SysFreeString(name);
    object->Release();
    return result;
}

// The design font of a dialog text: the dialog font, except the About box's title and slogan.
// Made here at the DPI as the program makes it: another process's font cannot be used.
win32::unique_hfont design_font(const std::wstring& text, int dpi) {
    struct Design {
        const wchar_t* face;
        double points;
        bool bold, italic;
    };
    Design design{L"MS Sans Serif", 8, false, false};
    if (text == kChooserCaption) design = {L"Arial", 11.25, true, true};
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

struct DialogCase {
    std::string name;
    const wchar_t* type;  // the stored mode, which Next opens the options of
    enum { None, Next, Escape } opened_by;
    std::wstring caption;
    SIZE twips;
    Names labels;  // what a screen reader reads of it
};

void PrintTo(const DialogCase& dialog, std::ostream* out) {
    *out << dialog.name;
}

class Dialogs : public SystemTest, public ::testing::WithParamInterface<DialogCase> {
  protected:
    void SetUp() override {
        SystemTest::SetUp();
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        const wchar_t* text = _wgetenv(L"VQ_DPI");
        ASSERT_NE(text, nullptr) << "VQ_DPI gives no DPI";
        dpi_ = _wtoi(text);
        const win32::window_dc screen(nullptr);
        ASSERT_EQ(GetDeviceCaps(screen.get(), LOGPIXELSX), dpi_) << "the display is not at VQ_DPI";
    }
    void TearDown() override {
        CoUninitialize();
        SystemTest::TearDown();
    }
    int pixels(LONG twips) const { return static_cast<int>(std::lround(twips * dpi_ / 1440.0)); }

    // Whether the visible text labels of `window` come to be those a screen reader names
    // `expected` (in any order).
    static ::testing::AssertionResult reads(HWND window, Names expected) {
        std::sort(expected.begin(), expected.end());
        Names seen;
        const bool read = poll_until([&] {
            seen.clear();
            for (HWND control : descendants(window)) {
                wchar_t class_name[16] = {};
                GetClassNameW(control, class_name, 16);
                if (_wcsicmp(class_name, L"Static") != 0 || !IsWindowVisible(control)) continue;
                if (auto name = accessible_name(control); name && !name->empty())
                    seen.push_back(*name);
            }
            std::sort(seen.begin(), seen.end());
            return seen == expected;
        });
        if (read) return ::testing::AssertionSuccess();
        auto failure = ::testing::AssertionFailure() << "the labels read:";
        for (const std::wstring& name : seen) failure << "\n  \"" << narrow(name) << "\"";
        return failure;
    }

    int dpi_ = 96;
};

TEST_P(Dialogs, AreTheirTwipsAtThisDpiEveryTextFitsAndAScreenReaderReadsTheirLabels) {
    const DialogCase& dialog = GetParam();
    if (dialog.type) config::set_text(L"Type", dialog.type);
    SaverProcess& run = start(L"/c");
    ASSERT_TRUE(shows_only(run, {kChooserCaption}));
    if (dialog.opened_by == DialogCase::Next) press_key('N', VK_MENU);
    if (dialog.opened_by == DialogCase::Escape) press_key(VK_ESCAPE);
    const auto window = window_captioned(run, dialog.caption);
    ASSERT_TRUE(window.has_value()) << narrow(dialog.caption) << " does not show";
    // On the primary monitor, also when there are several.
    const RECT primary{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_TRUE(contains(primary, window->rect)) << "at " << to_text(window->rect);
    EXPECT_TRUE(reads(window->handle, dialog.labels));

    RECT client{};
    ASSERT_TRUE(GetClientRect(window->handle, &client));
    EXPECT_EQ(client.right, pixels(dialog.twips.cx));
    EXPECT_EQ(client.bottom, pixels(dialog.twips.cy));
    std::string clipped;
    for (HWND control : descendants(window->handle)) clipped += clipped_text(control, dpi_);
    EXPECT_EQ(clipped, "");
}

const vq::content::VersionValues& kVersion = vq::content::kVersion;

INSTANTIATE_TEST_SUITE_P(
    EachDialog, Dialogs,
    ::testing::Values(
        DialogCase{"chooser",
                   L"2",
                   DialogCase::None,
                   kChooserCaption,
                   {4710, 3630},
                   {kChooserInstruction, kFlasherDescription}},
        DialogCase{"about",
                   nullptr,
                   DialogCase::Escape,
                   L"About " + kChooserCaption,
                   {5730, 3555},
                   {wide(kVersion.product_name), L"Version 1.2.0", wide(kVersion.file_description),
                    L"Written by: " + wide(kVersion.company_name), wide(kVersion.legal_copyright),
                    wide(kVersion.comments)}},
        DialogCase{"drifter_options",
                   L"0",
                   DialogCase::Next,
                   L"VQ ScreenSaver (Drifter)",
                   {4815, 4155},
                   {L"Select the image you want displayed, the drifting speed, and whether you "
                    L"want a trail displayed. Then choose OK (to register your choices) or "
                    L"Cancel.",
                    L"Image Choice:", L"Image Preview:", L"Fast", L"Slow"}},
        DialogCase{"still_quote_options",
                   L"1",
                   DialogCase::Next,
                   L"VQ ScreenSaver (Still & Quote)",
                   {4605, 3480},
                   {L"Select the information you want displayed on the screen, and the length "
                    L"of time you want each image displayed for. Then choose OK (to register "
                    L"your choices) or Cancel.",
                    L"Short", L"Long"}},
        DialogCase{"flasher_options",
                   L"2",
                   DialogCase::Next,
                   L"VQ ScreenSaver (Flasher)",
                   {5235, 1875},
                   {L"Select the speed at which you wish the images to flash on your screen. "
                    L"Then choose OK (to register your choice of speed) or Cancel.",
                    L"Fast", L"Slow"}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vqtest
