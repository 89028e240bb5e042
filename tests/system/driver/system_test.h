// The fixture of every system test: a fresh settings store, the pointer parked, the saver
// runs the test starts, and on failure a screenshot in the artefacts folder.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "driver/saver_process.h"
#include "driver/top_windows.h"

namespace vqtest {

// Starts and ends are awaited up to kDeadline (support/polling.h): the waits end as soon as
// the awaited thing happens, so a correct program never waits them out.
// How long the tests give the program to react to input that must not end it. Input that
// does end it is handled within milliseconds; a slower machine only makes such a check
// weaker, never wrong.
inline constexpr milliseconds kSettleTime{400};

// Where the pointer rests when a test begins. The system may or may not report it to the
// saver window with a move event when the window appears under it.
inline constexpr POINT kParkedPointer{0, 0};

// The caption of the saver's window, whatever the mode, and of the chooser.
inline const std::wstring kSaverCaption = L"VQ ScreenSaver (Still & Quote)";
inline const std::wstring kChooserCaption = L"The Vovozevu Velmarr ScreenSaver";

// One move of the pointer, and whether the saver has to end on it.
struct PointerStep {
    POINT to;
    bool ends_saver;
};

class SystemTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program under test with `arguments`; the run lives until the test ends.
    SaverProcess& start(const std::wstring& arguments);
    // The visible window of `process` with this caption, once it shows (within
    // kDeadline); nothing if it never does.
    static std::optional<TopWindow> window_captioned(const SaverProcess& process,
                                                     const std::wstring& caption);
    // Whether the captions of the visible windows of `process` become exactly `expected`
    // with one of them the foreground window, the one the next keys go to.
    static ::testing::AssertionResult shows_only(const SaverProcess& process,
                                                 const std::vector<std::wstring>& expected);
    // Whether `process` comes to show the saver's window and nothing else, in front.
    static ::testing::AssertionResult shows_saver(const SaverProcess& process) {
        return shows_only(process, {kSaverCaption});
    }
    // Whether `process` ends with exit code 0 within kDeadline.
    static ::testing::AssertionResult ends_normally(const SaverProcess& process);
    // Whether `process` ends with exit code 0 within kDeadline without ever showing a
    // window.
    static ::testing::AssertionResult ends_at_once(const SaverProcess& process);
    // Whether `process` is still running after kSettleTime.
    static ::testing::AssertionResult keeps_running(const SaverProcess& process);

    // Moves the pointer through `steps` and checks after each one that the saver ended or
    // kept running as the step says; stops at the first step that ends it.
    static void expect_pointer_steps(const SaverProcess& saver,
                                     const std::vector<PointerStep>& steps);

  private:
    std::deque<SaverProcess> runs_;
};

// Text for test messages: ASCII kept, anything else shown as '?'.
std::string narrow(const std::wstring& text);

// The program under test: the Windows path in VQ_SAVER_SCR.
const std::wstring& saver_path();

}  // namespace vqtest
