// The saver on a desktop of three monitors: the primary, one left of and above it (negative
// coordinates), one in portrait. Where the screen's pixels are judged, a white backdrop lies
// under everything, so a white pixel on a monitor is the desktop showing through.
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "driver/config_registry.h"
#include "driver/input.h"
#include "driver/own_windows.h"
#include "driver/screen_image.h"
#include "driver/system_test.h"
#include "support/polling.h"

namespace vqtest {
namespace {

// The desktop the environment declares (tests/system/CMakeLists.txt), as Windows places it.
constexpr RECT kPrimary{0, 0, 800, 600};
constexpr RECT kAboveLeft{-1024, -168, 0, 600};
constexpr RECT kPortrait{800, -168, 1600, 856};
constexpr RECT kMonitors[] = {kPrimary, kAboveLeft, kPortrait};

class MonitorTest : public SystemTest {
  protected:
    void SetUp() override {
        SystemTest::SetUp();
        ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 3) << "the environment declares three monitors";
        ASSERT_EQ(to_text(ScreenImage::virtual_screen()), to_text({-1024, -168, 1600, 856}));
        backdrop_.emplace();
    }

    // The saver's windows once there is one over each monitor, exactly, all top-most,
    // borderless pop-ups.
    static ::testing::AssertionResult covers_each_monitor(const SaverProcess& saver) {
        const std::multiset<std::string> wanted{to_text(kPrimary), to_text(kAboveLeft),
                                                to_text(kPortrait)};
        std::multiset<std::string> seen;
        bool plain_topmost = false;
        const bool covered = poll_until([&] {
            seen.clear();
            plain_topmost = true;
            for (const TopWindow& window : saver.visible_windows()) {
                seen.insert(to_text(window.rect));
                plain_topmost = plain_topmost && window.topmost() && window.has_style(WS_POPUP) &&
                                (window.style & (WS_CAPTION | WS_THICKFRAME)) == 0;
            }
            return seen == wanted && plain_topmost;
        });
        if (covered) return ::testing::AssertionSuccess();
        auto failure = ::testing::AssertionFailure();
        if (!plain_topmost) failure << "not every window is a top-most borderless pop-up; ";
        failure << "the saver's windows cover";
        for (const std::string& rect : seen) failure << " " << rect;
        return failure;
    }

  private:
    std::optional<Backdrop> backdrop_;
};

// Run at every DPI too: one bitmap pixel per screen pixel, whatever the scale.
using MonitorCovers = MonitorTest;

// Picture 41 inside its black frame: 109 x 143 pixels; on the primary's 600 lines it starts
// at y = 228, its inside at 229, exactly as on a single screen. Around it and on the other
// monitors all is black.
TEST_F(MonitorCovers, EachIsCoveredTheDrifterRunsOnThePrimaryAndAKeyUncoversThemAll) {
    config::set_text(L"Type", L"0");
    config::set_text(L"DriftSpeed", L"500");
    ASSERT_TRUE(pointer_shown());
    SaverProcess& saver = start(L"/s");
    ASSERT_TRUE(covers_each_monitor(saver));
    for (const TopWindow& window : saver.visible_windows()) {
        if (EqualRect(&window.rect, &kPrimary)) {
            EXPECT_EQ(window.caption, kSaverCaption);
        }
    }
    // Until the saver covers it, the primary shows the white backdrop.
    const auto drawn = poll_for([&] { return ScreenImage::capture().non_black_bounds(kPrimary); },
                                [&](const RECT& r) { return r.bottom - r.top < kPrimary.bottom; });
    EXPECT_TRUE(drawn) << "no picture drawn on the primary";
    if (drawn) {
        EXPECT_LE(drawn->left, 4);
        EXPECT_EQ(to_text(*drawn), to_text({drawn->left, 229, drawn->left + 109, 229 + 143}));
    }
    int others = 0;
    EXPECT_TRUE(poll_until([&] {
        const ScreenImage screen = ScreenImage::capture();
        others = screen.count_non_black(kAboveLeft) + screen.count_non_black(kPortrait);
        return others == 0;
    })) << others
        << " pixels on the other monitors are not black";
    // Wine keeps the pointer's show count per thread and reports the foreground one's.
    EXPECT_FALSE(pointer_shown());

    press_key(VK_SPACE);
    ASSERT_TRUE(ends_normally(saver));
    int uncovered = 0;
    EXPECT_TRUE(poll_until([&] {
        const ScreenImage screen = ScreenImage::capture();
        uncovered = 0;
        for (const RECT& monitor : kMonitors) uncovered += screen.count_other_than(kWhite, monitor);
        return uncovered == 0;
    })) << uncovered
        << " pixels of the saver's windows are still on the monitors";
    EXPECT_TRUE(pointer_shown());
}

using MonitorInput = MonitorTest;

// On the primary, the saver's own window takes the input (the ExitOn suites). The pointer
// rests on the monitor first: the first report of it there is only recorded.
TEST_F(MonitorInput, AKeyAPressOrAMoveOnEitherOtherMonitorEndsTheSaverAndShowsThePointer) {
    config::set_text(L"Type", L"1");
    for (const RECT& monitor : {kAboveLeft, kPortrait}) {
        const POINT centre{(monitor.left + monitor.right) / 2, (monitor.top + monitor.bottom) / 2};
        for (const std::string_view input : {"key", "press", "move"}) {
            SCOPED_TRACE(std::string(input) + " on " + to_text(monitor));
            SaverProcess& saver = start(L"/s");
            ASSERT_TRUE(covers_each_monitor(saver));
            if (input == "move") {
                expect_pointer_steps(saver,
                                     {{centre, false}, {{centre.x + 20, centre.y + 20}, true}});
            } else {
                expect_pointer_steps(saver, {{centre, false}});
                if (input == "key")
                    press_key('X');
                else
                    click();
            }
            EXPECT_TRUE(ends_normally(saver));
            EXPECT_TRUE(saver.visible_windows().empty());
            EXPECT_TRUE(pointer_shown());
            move_pointer_to(kParkedPointer);
        }
    }
}

}  // namespace
}  // namespace vqtest
