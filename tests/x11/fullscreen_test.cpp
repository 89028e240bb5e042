// --fullscreen on X11: windows of its own over every monitor, top-most, the pointer hidden,
// ended by the first real input as the saver window ends on Windows: what every session does
// alike is support/full_screen_test.cpp, run here on the one monitor of 800 x 600 and, for
// the Monitors suite, on three RandR monitors side by side, the middle one primary.
#include <gtest/gtest.h>
#include <signal.h>

#include "driver.h"
#include "support/full_screen.h"

namespace vqx {

// The places the pointer is parked at: the middle of the one monitor, its corner, and on
// the Monitors suite's screen the monitors right and left of the primary.
constexpr std::pair<int, int> kPlaces[] = {{400, 300}, {0, 0}, {2000, 300}, {100, 100}};

class X11Session : public vqtest::FullScreenSession {
  public:
    std::unique_ptr<vqtest::ChildProcess> start(
        std::vector<std::string> options, const std::optional<std::string>& settings) override {
        options.insert(options.begin(), "--fullscreen");
        return std::make_unique<Saver>(std::move(options), std::vector<std::string>{}, settings);
    }
    vqtest::Pixels primary() const override { return ScreenImage::capture(primary_monitor()); }
    bool rest_covered() const override {
        const ScreenImage screen = ScreenImage::capture();
        const Box p = primary_monitor();
        return screen.all({0, 0, p.left, screen.height()}, kBlack) &&
               screen.all({p.right, 0, screen.width(), screen.height()}, kBlack);
    }
    bool desktop_shows() const override {
        const ScreenImage screen = ScreenImage::capture();
        return screen.all(screen.box(), kWhite);
    }
    void restore_desktop() override { whiten_root(); }
    void park(int place) override { move_pointer(kPlaces[place].first, kPlaces[place].second); }
    bool pointer_hidden() const override { return vqx::pointer_hidden(); }
    void key(const std::string& name) override { press_key(name.c_str()); }
    void click(int button) override { vqx::click(static_cast<unsigned>(button)); }
    void move_by(int dx, int dy) override { move_pointer_by(dx, dy); }
};

namespace {

using vqtest::EndsOnInput;
using vqtest::Input;
using vqtest::InputCase;

INSTANTIATE_TEST_SUITE_P(
    OneScreen, EndsOnInput,
    ::testing::Values(InputCase{"key", "flasher", 0, Input::key},
                      InputCase{"button_1", "still-quote", 0, Input::button, 1},
                      InputCase{"button_2", "still-quote", 0, Input::button, 2},
                      InputCase{"button_3", "still-quote", 0, Input::button, 3},
                      InputCase{"moves", "drifter", 1, Input::moves},
                      InputCase{"sigterm", "flasher", 0, Input::signal, SIGTERM},
                      InputCase{"sigint", "drifter", 0, Input::signal, SIGINT}),
    vqtest::kRowName);

INSTANTIATE_TEST_SUITE_P(
    Monitors, EndsOnInput,
    ::testing::Values(InputCase{"button_on_the_right", "flasher", 2, Input::button, 1},
                      InputCase{"moves_on_the_left", "drifter", 3, Input::moves}),
    vqtest::kRowName);

using Keyboard = vqtest::FullScreen;

// Another client holds the keyboard, as an open menu does: the saver says so, keeps trying,
// and once the keyboard is free takes it, and a key ends it.
TEST_F(Keyboard, TakesTheKeyboardOnceAnotherClientLetsGoOfIt) {
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
    expect_ended(saver);
}

using Monitors = vqtest::FullScreen;

// Every monitor is covered and the mode runs on the primary, the middle one; the covers of
// the others draw nothing and hold no buffer: the X server keeps one buffer of the primary
// monitor's size, and the pictures shown.
TEST_F(Monitors, TheModeRunsOnThePrimaryAndOnlyItsWindowHoldsAScreenBuffer) {
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
        expect_ended(saver);
    }
}

}  // namespace
}  // namespace vqx

vqtest::FullScreenSession& vqtest::full_screen_session() {
    static vqx::X11Session session;
    return session;
}
