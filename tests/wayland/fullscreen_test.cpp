// --fullscreen in a Wayland session: a black layer over every output, above the full-screen
// window beneath, the mode on the output at the layout's origin. What every session does
// alike is support/full_screen_test.cpp, run here over the shared desktop's outputs; here
// is what a Wayland session adds: appearing under the pointer, swayidle, XWayland beside
// it, and no session at all.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <cmath>

#include "desktop.h"
#include "support/full_screen.h"

namespace vqw {

class SwayDesktop : public vqtest::FullScreenSession {
  public:
    std::unique_ptr<Process> start(std::vector<std::string> options,
                                   const std::optional<std::string>& settings) override {
        options.insert(options.begin(), "--fullscreen");
        return std::make_unique<Process>(start_saver(sway_, std::move(options), settings));
    }
    Image primary() const override { return sway_.capture(kOrigin); }
    // No red of the window beneath on the origin output; every other output wholly black.
    bool rest_covered() const override {
        if (std::ranges::count(primary().data(), kBackdrop) > 0) return false;
        for (const DesktopOutput& o : {kOutputs[1], kOutputs[2]}) {
            const Image image = sway_.capture(o.name);
            if (image.width() != o.device_width || !image.all(image.box(), kBlack)) return false;
        }
        return true;
    }
    // The red window on the origin output and the compositor's grey on the others.
    bool desktop_shows() const override {
        const Image first = primary();
        return first.all({0, 0, first.width(), 20}, kBackdrop) &&
               sway_.capture(kOutputs[1].name).pixel(5, 5) != kBlack &&
               sway_.capture(kOutputs[2].name).pixel(5, 5) != kBlack;
    }
    // Puts the pointer over the output kOutputs[place] and waits until it is drawn there.
    void park(int place) override {
        parked_ = &kOutputs[place];
        sway_.move_to(parked_->park_x - kLayoutLeft, parked_->park_y);
        sway_.move_by(1, 1);
        ASSERT_TRUE(poll_until([&] { return pointer_drawn() == true; }))
            << "no pointer over " << parked_->name;
    }
    bool pointer_hidden() const override { return pointer_drawn() == false; }
    void key(const std::string& name) override { sway_.key(name); }
    void click(int button) override { sway_.click(button); }
    void move_by(int dx, int dy) override { sway_.move_by(dx, dy); }

  private:
    // Whether the pointer's image shows where it was parked: the pixels under its arrow
    // are not all of the colour just beside it. Nothing when the capture failed.
    std::optional<bool> pointer_drawn() const {
        const DesktopOutput& o = *parked_;
        const Image image = sway_.capture(o.name, true);
        if (image.empty()) return std::nullopt;
        const int x = static_cast<int>(std::lround((o.park_x + 1 - o.left) * o.scale));
        const int y = static_cast<int>(std::lround((o.park_y + 1 - o.top) * o.scale));
        const Box arrow{x - 2, y - 2, x + 16, y + 20};
        return !image.all(arrow, image.pixel(arrow.right + 20, arrow.top));
    }

    Sway& sway_ = desktop();
    const DesktopOutput* parked_ = &kOutputs[0];
};

namespace {

using vqtest::EndsOnInput;
using vqtest::Input;
using vqtest::InputCase;

// Over each output, the one at scale 1.5 among them.
INSTANTIATE_TEST_SUITE_P(
    Outputs, EndsOnInput,
    ::testing::Values(InputCase{"key_over_1", "drifter", 0, Input::key},
                      InputCase{"key_over_2", "drifter", 1, Input::key},
                      InputCase{"key_over_3", "drifter", 2, Input::key},
                      InputCase{"button_1_over_1", "drifter", 0, Input::button, 1},
                      InputCase{"button_2_over_2", "drifter", 1, Input::button, 2},
                      InputCase{"button_3_over_3", "drifter", 2, Input::button, 3},
                      InputCase{"moves_over_1", "drifter", 0, Input::moves},
                      InputCase{"moves_over_2", "drifter", 1, Input::moves},
                      InputCase{"moves_over_3", "drifter", 2, Input::moves},
                      InputCase{"sigterm", "still-quote", 0, Input::signal, SIGTERM},
                      InputCase{"sigint", "flasher", 2, Input::signal, SIGINT}),
    vqtest::kRowName);

using Wayland = vqtest::FullScreen;

// Appearing under the pointer records where it is, as the first move does on Windows: a
// move by one pixel from there ends it, over the output at scale 1.5 too.
TEST_F(Wayland, AppearingUnderThePointerRecordsWhereItIs) {
    park(2);
    const auto saver = session_.start({"--mode", "still-quote"}, std::nullopt);
    ASSERT_TRUE(start(*saver)) << "not every output is covered";
    ASSERT_TRUE(poll_until([&] { return session_.pointer_hidden(); })) << "the pointer shows";
    session_.move_by(1, 0);
    expect_ended(*saver);
}

TEST_F(Wayland, SwayidleStartsItAtIdleAndAKeyEndsIt) {
    const std::string command = desktop().saver_path() + " --fullscreen --mode flasher";
    Process idle = desktop().client({"swayidle", "-w", "timeout", "2", command});
    ASSERT_TRUE(poll_until([&] { return covered(); }, 15s)) << "swayidle does not start it";
    desktop().key("Return");
    // Ended before the key's own idle timeout could start another: swayidle, waiting for
    // the saver, ends as soon as the saver has; the saver does not end with it.
    idle.signal(SIGTERM);
    EXPECT_TRUE(poll_until([&] { return session_.desktop_shows(); })) << "a key does not end it";
    EXPECT_TRUE(idle.wait_for_exit().has_value());
}

// Where both sessions are offered (XWayland), Wayland draws unless --x11 asks for X; this
// X display is one that does not exist, so X11 shows itself by failing to open it.
TEST_F(Wayland, WithBothSessionsItDrawsOnWaylandUnlessAskedForX11) {
    const std::vector<std::string> x_too{"DISPLAY=:9999"};
    Process wayland =
        desktop().client({desktop().saver_path(), "--fullscreen", "--mode", "flasher"}, x_too);
    ASSERT_TRUE(start(wayland)) << "not drawn on Wayland";
    wayland.signal(SIGTERM);
    expect_ended(wayland);

    const auto errors = desktop().folder() / "forced-x11.txt";
    Process x11 =
        desktop().client({desktop().saver_path(), "--fullscreen", "--x11"}, x_too, errors);
    EXPECT_EQ(x11.wait_for_exit(), 1);
    EXPECT_NE(read_text(errors).find(":9999"), std::string::npos) << read_text(errors);
    EXPECT_TRUE(session_.desktop_shows());
}

TEST(NoSession, WithoutWaylandOrXItSaysSoOnOneLineWithStatusOne) {
    const auto folder = desktop().folder();
    const auto errors = folder / "no-session.txt";
    Process saver(
        {desktop().saver_path(), "--fullscreen"},
        {"PATH=/usr/bin:/bin", "HOME=" + folder.string(), "XDG_RUNTIME_DIR=" + folder.string()},
        errors);
    EXPECT_EQ(saver.wait_for_exit(), 1);
    const std::string text = read_text(errors);
    EXPECT_EQ(text.find("vqsaver: "), 0u) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
}

}  // namespace
}  // namespace vqw

vqtest::FullScreenSession& vqtest::full_screen_session() {
    static vqw::SwayDesktop session;
    return session;
}
