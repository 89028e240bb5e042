// --fullscreen: windows of its own over every monitor, top-most, pointer hidden, ended by
// the first real input as the saver window ends on Windows: any key, any press, or a move of
// 5 pixels or more after the first one only recorded. A second full-screen copy ends at once.
// The Monitors suite runs on a screen of three RandR monitors, the middle one primary.
#include <gtest/gtest.h>
#include <signal.h>

#include "driver.h"
#include "support/redraws.h"

namespace vqx {
namespace {

class FullScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        whiten_root();
        width_ = ScreenImage::capture().width();
    }
    // Every monitor is covered: the screen's edges are black, each monitor's top and bottom
    // among them (what the modes draw keeps off the edges).
    bool covered() const {
        const ScreenImage screen = ScreenImage::capture();
        return screen.all({0, 0, width_, 1}, kBlack) && screen.all({0, 599, width_, 600}, kBlack) &&
               screen.all({0, 0, 1, 600}, kBlack) &&
               screen.all({width_ - 1, 0, width_, 600}, kBlack);
    }
    // True once the program runs and covers every monitor.
    bool start(Saver& saver) {
        return poll_until([&] { return covered() || !saver.running(); }) && saver.running();
    }
    void expect_ended_and_uncovered(Saver& saver) {
        EXPECT_EQ(saver.wait_for_exit(), 0);
        EXPECT_TRUE(poll_until([&] {
            return ScreenImage::capture().all({0, 0, width_, 600}, kWhite);
        })) << "a window stays";
        EXPECT_FALSE(pointer_hidden());
    }
    int width_ = 800;
};

// The first real input ends it wherever the pointer is: a key, each button, or a move of 5
// pixels from the last recorded position, where the first move and each smaller one only
// record. The Monitors rows put the pointer on a monitor beside the primary.
enum class Input { key, button_1, button_2, button_3, moves };
struct InputCase {
    const char* name;
    const char* mode;
    int x, y;  // where the pointer stands as it starts
    Input input;
};

class EndsOnInput : public FullScreen, public ::testing::WithParamInterface<InputCase> {};

TEST_P(EndsOnInput, AndHidesThePointerUntilThen) {
    const InputCase& c = GetParam();
    move_pointer(c.x, c.y);
    Saver saver({"--fullscreen", "--mode", c.mode});
    ASSERT_TRUE(start(saver)) << "the screen is not covered";
    EXPECT_TRUE(poll_until(pointer_hidden)) << "the pointer shows";
    switch (c.input) {
        case Input::key:
            press_key("a");
            break;
        case Input::button_1:
            click(1);
            break;
        case Input::button_2:
            click(2);
            break;
        case Input::button_3:
            click(3);
            break;
        case Input::moves:
            for (const auto& [dx, dy] : {std::pair{1, 1}, {5, 5}, {9, 1}, {13, 5}}) {
                move_pointer(c.x + dx, c.y + dy);
                // Read by the Drifter once it has moved twice since.
                ASSERT_TRUE(
                    vqtest::moved_twice([] { return ScreenImage::capture().drawn_bounds(); }) &&
                    saver.running())
                    << "ended on the move by " << dx << ", " << dy;
            }
            move_pointer(c.x + 18, c.y + 5);
            break;
    }
    expect_ended_and_uncovered(saver);
}

INSTANTIATE_TEST_SUITE_P(
    OneScreen, EndsOnInput,
    ::testing::Values(InputCase{"key", "flasher", 400, 300, Input::key},
                      InputCase{"button_1", "still-quote", 400, 300, Input::button_1},
                      InputCase{"button_2", "still-quote", 400, 300, Input::button_2},
                      InputCase{"button_3", "still-quote", 400, 300, Input::button_3},
                      InputCase{"moves", "drifter", 0, 0, Input::moves}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Monitors, EndsOnInput,
    ::testing::Values(InputCase{"button_on_the_right", "flasher", 2000, 300, Input::button_1},
                      InputCase{"moves_on_the_left", "drifter", 100, 100, Input::moves}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FullScreen, ASecondCopyEndsAtOnceAndTheFirstRunsOn) {
    Saver first({"--fullscreen", "--mode", "flasher"});
    ASSERT_TRUE(start(first));
    Saver second({"--fullscreen", "--mode", "drifter"});
    EXPECT_EQ(second.wait_for_exit(), 0);
    EXPECT_TRUE(first.running());
    press_key("space");
    expect_ended_and_uncovered(first);
}

// Another client holds the keyboard, as an open menu does: the saver says so, keeps trying,
// and once the keyboard is free takes it, and a key ends it.
TEST_F(FullScreen, TakesTheKeyboardOnceAnotherClientLetsGoOfIt) {
    Display* menu = XOpenDisplay(nullptr);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(XGrabKeyboard(menu, DefaultRootWindow(menu), False, GrabModeAsync, GrabModeAsync,
                            CurrentTime),
              GrabSuccess);
    XSync(menu, False);
    Saver saver({"--fullscreen", "--mode", "flasher"});
    ASSERT_TRUE(start(saver));
    EXPECT_TRUE(poll_until([&] {
        return saver.error_output().find("keys cannot end the saver") != std::string::npos;
    })) << "no word of the keyboard held elsewhere: "
        << saver.error_output();
    XUngrabKeyboard(menu, CurrentTime);
    XCloseDisplay(menu);
    EXPECT_TRUE(poll_until(keyboard_held)) << "the saver does not take the keyboard";
    press_key("a");
    expect_ended_and_uncovered(saver);
}

using Monitors = FullScreen;

// Every monitor is covered and the mode runs on the primary, the middle one; the covers of
// the others draw nothing and hold no buffer: the X server keeps one buffer of the primary
// monitor's size, and the pictures shown.
TEST_F(Monitors, TheModeRunsOnThePrimaryAndOnlyItsWindowHoldsAScreenBuffer) {
    ASSERT_EQ(width_, 2400);
    constexpr unsigned long kMonitorBytes = 800 * 600 * 4;
    for (const char* mode : {"drifter", "still-quote", "flasher"}) {
        SCOPED_TRACE(mode);
        // The Drifter's pace only matters to the Drifter, slow enough to be seen at its start.
        Saver saver({"--fullscreen", "--mode", mode, "--drift-speed", "100"});
        ASSERT_TRUE(start(saver)) << "not every monitor is covered";
        const auto seen =
            vqtest::poll_for([] { return ScreenImage::capture().drawn_bounds(); }, vqtest::kAny);
        ASSERT_TRUE(seen.has_value()) << "nothing drawn";
        EXPECT_GE(seen->left, 800);
        EXPECT_LE(seen->right, 1600);
        if (mode == std::string("drifter")) {
            EXPECT_LE(seen->left, 805) << "the Drifter starts at the primary's left edge";
            EXPECT_EQ(seen->top, 229);
        }
        const std::optional<unsigned long> bytes = pixmap_bytes_of(saver.pid());
        ASSERT_TRUE(bytes.has_value());
        EXPECT_GE(*bytes, kMonitorBytes);
        EXPECT_LT(*bytes, kMonitorBytes * 3 / 2);
        press_key("Escape");
        expect_ended_and_uncovered(saver);
    }
}

}  // namespace
}  // namespace vqx
