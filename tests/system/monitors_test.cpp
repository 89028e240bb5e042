// The saver on a desktop of three monitors: the primary, one left of and above it (negative
// coordinates), one in portrait. Where the screen's pixels are judged, a white backdrop lies
// under everything, so a white pixel on a monitor is the desktop showing through.
#include "driver/monitors.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "driver/backdrop.h"
#include "driver/config_registry.h"
#include "driver/input.h"
#include "support/polling.h"
#include "driver/screen_image.h"
#include "driver/system_test.h"

namespace vqtest {
namespace {

const std::wstring kChooserCaption = L"The Vovozevu Velmarr ScreenSaver";

POINT centre_of(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class MonitorTest : public SystemTest {
protected:
    void SetUp() override {
        SystemTest::SetUp();
        monitors_ = monitors();
        ASSERT_EQ(monitors_.size(), 3u) << "the environment declares three monitors";
        const auto primary = std::find_if(monitors_.begin(), monitors_.end(),
                                          [](const Monitor& m) { return m.primary; });
        ASSERT_NE(primary, monitors_.end());
        primary_ = primary->rect;
        ASSERT_EQ(to_text(primary_),
                  to_text({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
        ASSERT_TRUE(std::any_of(monitors_.begin(), monitors_.end(), [](const Monitor& m) {
            return m.rect.left < 0 && m.rect.top < 0;
        })) << "no monitor left of and above the primary";
        ASSERT_TRUE(std::any_of(monitors_.begin(), monitors_.end(), [](const Monitor& m) {
            return m.rect.bottom - m.rect.top > m.rect.right - m.rect.left;
        })) << "no monitor in portrait";
    }

    // The saver's windows once there is one over each monitor, exactly, all top-most.
    ::testing::AssertionResult covers_each_monitor(const SaverProcess& saver) const {
        std::vector<std::string> wanted;
        for (const Monitor& monitor : monitors_) wanted.push_back(to_text(monitor.rect));
        std::sort(wanted.begin(), wanted.end());
        std::vector<std::string> seen;
        bool topmost = false;
        const bool covered = poll_until(
            [&] {
                seen.clear();
                topmost = true;
                for (const TopWindow& window : saver.visible_windows()) {
                    seen.push_back(to_text(window.rect));
                    topmost = topmost && window.topmost();
                }
                std::sort(seen.begin(), seen.end());
                return seen == wanted && topmost;
            },
            kStartTimeout);
        if (covered) return ::testing::AssertionSuccess();
        auto failure = ::testing::AssertionFailure();
        if (!topmost) failure << "not every window is top-most; ";
        failure << "the saver's windows cover";
        for (const std::string& rect : seen) failure << " " << rect;
        return failure;
    }

    // Whether, within kStartTimeout, no pixel other than black shows on any monitor outside
    // `except` (nothing by default).
    ::testing::AssertionResult monitors_black(const RECT& except = {}) const {
        int others = 0;
        const bool black = poll_until(
            [&] {
                const ScreenImage screen = ScreenImage::capture_virtual_screen();
                others = 0;
                for (const Monitor& monitor : monitors_) {
                    others += screen.count_non_black(monitor.rect);
                    RECT common{};
                    if (IntersectRect(&common, &monitor.rect, &except))
                        others -= screen.count_non_black(common);
                }
                return others == 0;
            },
            kStartTimeout);
        if (black) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << others << " pixels on the monitors are not black";
    }

    std::vector<Monitor> monitors_;
    RECT primary_{};
};

// Run at every DPI too: one bitmap pixel per screen pixel, whatever the scale.
class MonitorCovers : public MonitorTest {
protected:
    void SetUp() override {
        MonitorTest::SetUp();
        if (!HasFatalFailure()) backdrop_.emplace();
    }

private:
    std::optional<Backdrop> backdrop_;
};

TEST_F(MonitorCovers, EveryMonitorIsCoveredBlackWithThePointerHiddenUntilAKey) {
    config::set_text(L"Type", L"3");  // no display mode: nothing drawn on the black
    SaverProcess& saver = start(L"/s");
    ASSERT_TRUE(covers_each_monitor(saver));
    EXPECT_TRUE(monitors_black());
    EXPECT_FALSE(pointer_shown());

    press_key(VK_SPACE);
    ASSERT_TRUE(ends_normally(saver));
    int uncovered = 0;
    EXPECT_TRUE(poll_until(
        [&] {
            const ScreenImage screen = ScreenImage::capture_virtual_screen();
            uncovered = 0;
            for (const Monitor& monitor : monitors_)
                uncovered += screen.count_other_than(kWhite, monitor.rect);
            return uncovered == 0;
        },
        kExitTimeout))
        << uncovered << " pixels of the saver's windows are still on the monitors";
    EXPECT_TRUE(pointer_shown());
}

// Picture 41 inside its black frame: 109 x 143 pixels; on the primary's 600 lines it starts
// at y = 228, its inside at 229, exactly as on a single screen.
TEST_F(MonitorCovers, TheDrifterRunsOnThePrimaryAsOnASingleScreen) {
    config::set_text(L"Type", L"0");
    config::set_text(L"DriftSpeed", L"500");
    SaverProcess& saver = start(L"/s");
    ASSERT_TRUE(covers_each_monitor(saver));
    // Until the saver covers it, the primary shows the white backdrop.
    std::optional<RECT> drawn;
    EXPECT_TRUE(poll_until(
        [&] {
            drawn = ScreenImage::capture_virtual_screen().non_black_bounds(primary_);
            return drawn && drawn->bottom - drawn->top < primary_.bottom;
        },
        kStartTimeout))
        << "no picture drawn on the primary";
    if (drawn) {
        EXPECT_LE(drawn->left, 4);
        EXPECT_EQ(drawn->top, 229);
        EXPECT_EQ(drawn->bottom, 229 + 143);
        EXPECT_EQ(drawn->right - drawn->left, 109);
    }
    EXPECT_TRUE(monitors_black(primary_)) << "drawn outside the primary";
    press_key(VK_SPACE);
    EXPECT_TRUE(ends_normally(saver));
}

using Monitors = MonitorTest;

enum class Input { Key, Press, Move };

struct InputCase {
    Input input;
    int monitor;  // 0 the primary, 1 the one above and left, 2 the portrait one
};

class MonitorInput : public MonitorTest, public ::testing::WithParamInterface<InputCase> {
protected:
    const Monitor& monitor(int which) const {
        const auto is = [&](const Monitor& m) {
            if (which == 0) return m.primary;
            if (which == 1) return m.rect.left < 0 && m.rect.top < 0;
            return !m.primary && m.rect.left >= 0;
        };
        return *std::find_if(monitors_.begin(), monitors_.end(), is);
    }
};

std::string case_name(const InputCase& c) {
    static const char* const inputs[] = {"key", "press", "move"};
    static const char* const where[] = {"primary", "above_left", "portrait"};
    return std::string(inputs[static_cast<int>(c.input)]) + "_on_" + where[c.monitor];
}

void PrintTo(const InputCase& input, std::ostream* out) { *out << case_name(input); }

// The pointer rests on the monitor first: the first report of it there is only recorded.
TEST_P(MonitorInput, EndsTheSaverOnEveryMonitorAndShowsThePointerAgain) {
    config::set_text(L"Type", L"1");
    SaverProcess& saver = start(L"/s");
    ASSERT_TRUE(covers_each_monitor(saver));
    const POINT centre = centre_of(monitor(GetParam().monitor).rect);
    switch (GetParam().input) {
        case Input::Key:
            expect_pointer_steps(saver, {{centre, false}});
            press_key('X');
            break;
        case Input::Press:
            expect_pointer_steps(saver, {{centre, false}});
            click(MouseButton::Left);
            break;
        case Input::Move:
            expect_pointer_steps(saver, {{centre, false}, {{centre.x + 20, centre.y + 20}, true}});
            break;
    }
    EXPECT_TRUE(ends_normally(saver));
    EXPECT_TRUE(saver.visible_windows().empty());
    EXPECT_TRUE(pointer_shown());
}

// On the primary, the saver's own window takes the input (the ExitOn suites).
INSTANTIATE_TEST_SUITE_P(OnEachMonitor, MonitorInput,
                         ::testing::Values(InputCase{Input::Key, 1}, InputCase{Input::Key, 2},
                                           InputCase{Input::Press, 1}, InputCase{Input::Press, 2},
                                           InputCase{Input::Move, 1}, InputCase{Input::Move, 2}),
                         [](const auto& info) { return case_name(info.param); });

TEST_F(Monitors, TheChooserAndItsDialogsOpenOnThePrimary) {
    SaverProcess& run = start(L"/c");
    const auto expect_on_primary = [&](const std::wstring& caption) {
        ASSERT_TRUE(shows_only(run, {caption}));
        const TopWindow window = run.visible_windows().at(0);
        RECT inside{};
        IntersectRect(&inside, &window.rect, &primary_);
        EXPECT_TRUE(EqualRect(&inside, &window.rect))
            << narrow(caption) << " stands at " << to_text(window.rect);
    };
    expect_on_primary(kChooserCaption);
    press_with_alt('N');
    expect_on_primary(L"VQ ScreenSaver (Drifter)");
    press_key(VK_ESCAPE);
    ASSERT_TRUE(shows_only(run, {kChooserCaption}));
    press_key(VK_ESCAPE);
    // The About box is owned by the chooser, which stays visible under it.
    const auto about = window_captioned(run, L"About " + kChooserCaption);
    ASSERT_TRUE(about.has_value());
    RECT inside{};
    IntersectRect(&inside, &about->rect, &primary_);
    EXPECT_TRUE(EqualRect(&inside, &about->rect)) << "About stands at " << to_text(about->rect);
    press_key(VK_RETURN);
    ASSERT_TRUE(shows_only(run, {kChooserCaption}));
    press_with_alt('C');
    EXPECT_TRUE(ends_normally(run));
}

}  // namespace
}  // namespace vqtest
