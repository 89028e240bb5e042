// The dialogs as a screen reader reads them: every label of the five dialogs is an object
// whose accessible name, asked for from outside the process, is the label's caption.
#include <oleacc.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "driver/config_registry.h"
#include "driver/input.h"
#include "support/polling.h"
#include "driver/system_test.h"
#include "resources/content/version_values.h"

namespace vqtest {
namespace {

using Names = std::vector<std::wstring>;

const std::wstring kChooserCaption = L"The Vovozevu Velmarr ScreenSaver";
const std::wstring kChooserInstruction =
    L"Choose the Screen Saver Type which you want. Then choose Next for more options, or OK to "
    L"accept the default configuration for that Saver type.";
// The chooser's description of each mode, by its number.
const std::wstring kDescriptions[] = {
    L"See your selected image of Velmarr drift aimlessly around your screen.",
    L"Selected stills with quotes from some of Velmarr's most popular movies.",
    L"Random images of Velmarr will flash up at assorted locations on your screen.",
};

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
                                          __uuidof(IAccessible), reinterpret_cast<void**>(&object))))
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

BOOL CALLBACK collect_static_name(HWND child, LPARAM names) {
    wchar_t class_name[16] = {};
    GetClassNameW(child, class_name, 16);
    if (_wcsicmp(class_name, L"Static") == 0 && IsWindowVisible(child)) {
        if (auto name = accessible_name(child); name && !name->empty())
            reinterpret_cast<Names*>(names)->push_back(*name);
    }
    return TRUE;
}

// The names of a dialog's visible text labels, sorted.
Names label_names(HWND dialog) {
    Names names;
    EnumChildWindows(dialog, collect_static_name, reinterpret_cast<LPARAM>(&names));
    std::sort(names.begin(), names.end());
    return names;
}

class Accessibility : public SystemTest {
protected:
    void SetUp() override {
        SystemTest::SetUp();
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override {
        CoUninitialize();
        SystemTest::TearDown();
    }

    // Whether `process` comes to show a window captioned `caption`, in front, whose labels a
    // screen reader names exactly `expected` (in any order).
    static ::testing::AssertionResult reads(const SaverProcess& process,
                                            const std::wstring& caption, Names expected) {
        std::sort(expected.begin(), expected.end());
        Names seen;
        bool found = false;
        poll_until(
            [&] {
                for (const TopWindow& window : process.visible_windows()) {
                    if (window.caption != caption || window.handle != GetForegroundWindow())
                        continue;
                    found = true;
                    seen = label_names(window.handle);
                    return seen == expected;
                }
                return false;
            },
            kStartTimeout);
        if (seen == expected) return ::testing::AssertionSuccess();
        auto failure = ::testing::AssertionFailure();
        if (!found) return failure << "no window \"" << narrow(caption) << "\" in front";
        failure << "\"" << narrow(caption) << "\" reads:";
        for (const std::wstring& name : seen) failure << "\n  \"" << narrow(name) << "\"";
        return failure;
    }
};

TEST_F(Accessibility, TheChoosersLabelsFollowTheFocusAndTheAboutBoxReadsItsCredits) {
    SaverProcess& run = start(L"/c");
    // The focus starts on the selected mode, Drifter, whose description the chooser shows.
    EXPECT_TRUE(reads(run, kChooserCaption, {kChooserInstruction, kDescriptions[0]}));
    press_key(VK_DOWN);
    press_key(VK_DOWN);
    EXPECT_TRUE(reads(run, kChooserCaption, {kChooserInstruction, kDescriptions[2]}));

    press_key(VK_ESCAPE);
    const vq::content::VersionValues& version = vq::content::kVersion;
    EXPECT_TRUE(reads(run, L"About " + wide(version.product_name),
                      {wide(version.product_name), L"Version 1.2.0", wide(version.file_description),
                       L"Written by: " + wide(version.company_name), wide(version.legal_copyright),
                       wide(version.comments)}));
    press_key(VK_RETURN);
    EXPECT_TRUE(reads(run, kChooserCaption, {kChooserInstruction, kDescriptions[2]}));
    press_with_alt('C');
    EXPECT_TRUE(ends_normally(run));
}

TEST_F(Accessibility, EachOptionsDialogReadsItsInstructionAndItsScaleLabels) {
    const struct {
        int type;
        std::wstring caption;
        Names labels;
    } dialogs[] = {
        {0,
         L"VQ ScreenSaver (Drifter)",
         {L"Select the image you want displayed, the drifting speed, and whether you want a "
          L"trail displayed. Then choose OK (to register your choices) or Cancel.",
          L"Image Choice:", L"Image Preview:", L"Fast", L"Slow"}},
        {1,
         L"VQ ScreenSaver (Still & Quote)",
         {L"Select the information you want displayed on the screen, and the length of time "
          L"you want each image displayed for. Then choose OK (to register your choices) or "
          L"Cancel.",
          L"Short", L"Long"}},
        {2,
         L"VQ ScreenSaver (Flasher)",
         {L"Select the speed at which you wish the images to flash on your screen. Then choose "
          L"OK (to register your choice of speed) or Cancel.",
          L"Fast", L"Slow"}},
    };
    for (const auto& dialog : dialogs) {
        SCOPED_TRACE(narrow(dialog.caption));
        config::set_text(L"Type", std::to_wstring(dialog.type));
        SaverProcess& run = start(L"/c");
        const Names chooser{kChooserInstruction, kDescriptions[dialog.type]};
        ASSERT_TRUE(reads(run, kChooserCaption, chooser));
        press_with_alt('N');
        EXPECT_TRUE(reads(run, dialog.caption, dialog.labels));
        press_key(VK_ESCAPE);
        ASSERT_TRUE(reads(run, kChooserCaption, chooser));
        press_with_alt('C');
        EXPECT_TRUE(ends_normally(run));
    }
}

}  // namespace
}  // namespace vqtest
