// --fullscreen in a Wayland session: a black layer over every output, above the full-screen
// window beneath, the mode on the output at the layout's origin, the pointer hidden, and the
// end on the first real input over any output, as the saver window ends on Windows.
#include <gtest/gtest.h>
#include <signal.h>

#include <cmath>

#include "desktop.h"
#include "support/redraws.h"

namespace vqw {
namespace {

// Picture 41, the Drifter's default, shows 109 x 143 pixels inside its frame, from one
// pixel below y = (768 - 145) / 2 rounded half to even on the 1024 x 768 origin output.
constexpr int kPortraitWidth = 109;
constexpr int kPortraitHeight = 143;
constexpr int kPortraitTop = 313;

class FullScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(poll_until([&] { return desktop_shows(); }))
            << "the desktop is not shown before the test";
    }
    Image origin() const { return sway_.capture(kOrigin); }
    // The desktop as it is without the saver: the red window on the origin output and the
    // compositor's grey on the others.
    bool desktop_shows() const {
        const Image first = origin();
        return first.all({0, 0, first.width(), 20}, kBackdrop) &&
               sway_.capture(kOutputs[1].name).pixel(5, 5) != kBlack &&
               sway_.capture(kOutputs[2].name).pixel(5, 5) != kBlack;
    }
    // Every output covered: the origin's edges black (what the modes draw keeps off them),
    // no red of the window beneath anywhere, every other output wholly black.
    bool covered() const {
        const Image first = origin();
        const int w = first.width(), h = first.height();
        if (!first.all({0, 0, w, 1}, kBlack) || !first.all({0, h - 1, w, h}, kBlack) ||
            !first.all({0, 0, 1, h}, kBlack) || !first.all({w - 1, 0, w, h}, kBlack))
            return false;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (first.pixel(x, y) == kBackdrop) return false;
        return others_black();
    }
    bool others_black() const {
        for (const DesktopOutput& o : {kOutputs[1], kOutputs[2]}) {
            const Image image = sway_.capture(o.name);
            if (image.width() != o.device_width || !image.all(image.box(), kBlack)) return false;
        }
        return true;
    }
    // True once the saver covers every output; false if it ends or never does.
    bool start(Process& saver) const {
        return poll_until([&] { return !saver.running() || covered(); }) && saver.running();
    }
    // Puts the pointer over `o` and waits until the compositor draws it there.
    void park(const DesktopOutput& o) {
        parked_ = &o;
        sway_.move_to(o.park_x - kLayoutLeft, o.park_y);
        sway_.move_by(1, 1);
        ASSERT_TRUE(poll_until([&] { return pointer_drawn(); })) << "no pointer over " << o.name;
    }
    // Whether the pointer's image shows where it was parked: the pixels under its arrow
    // are not all of the colour just beside it.
    bool pointer_drawn() const {
        const DesktopOutput& o = *parked_;
        const Image image = sway_.capture(o.name, true);
        if (image.empty()) return false;
        const int x = static_cast<int>(std::lround((o.park_x + 1 - o.left) * o.scale));
        const int y = static_cast<int>(std::lround((o.park_y + 1 - o.top) * o.scale));
        const Box arrow{x - 2, y - 2, x + 16, y + 20};
        return !image.all(arrow, image.pixel(arrow.right + 20, arrow.top));
    }
    // Ended with status 0, and the desktop and the pointer are back.
    void expect_ended(Process& saver) const {
        EXPECT_EQ(saver.wait_for_exit(), 0);
        EXPECT_TRUE(poll_until([&] { return desktop_shows(); })) << "the saver's layers stay";
        if (parked_ != nullptr) {
            EXPECT_TRUE(poll_until([&] { return pointer_drawn(); })) << "the pointer stays hidden";
        }
    }
    // Whether the saver still runs once it has read what was sent before: the Drifter on
    // the origin output has drawn twice since.
    bool runs_on(Process& saver) const {
        return vqtest::moved_twice([&] { return origin().drawn_bounds(); }) && saver.running();
    }
    // The bounds of what the origin output shows, once `condition` holds for them.
    template <typename Condition>
    std::optional<Box> drawing_once(Condition&& condition) const {
        return vqtest::poll_for([&] { return origin().drawn_bounds(); }, condition);
    }

    Sway& sway_ = desktop();
    const DesktopOutput* parked_ = nullptr;
};

TEST_F(FullScreen, StillAndQuoteShowsTheIntroThenAStillAndEndsOnAOnePixelMove) {
    park(kOutputs[2]);
    Process saver =
        start_saver(sway_, {"--fullscreen", "--mode", "still-quote", "--still-speed", "1500"});
    ASSERT_TRUE(start(saver)) << "not every output is covered";
    const auto intro = drawing_once([](const Box&) { return true; });
    ASSERT_TRUE(intro.has_value()) << "no intro";
    EXPECT_NEAR((intro->left + intro->right) / 2, 512, 4);
    EXPECT_NEAR((intro->top + intro->bottom) / 2, 384, 4);
    EXPECT_LE(intro->width(), 1024 * 3 / 4) << "the intro wraps within 3/4 of the width";
    EXPECT_FALSE(pointer_drawn()) << "the pointer shows over the output at scale 1.5";

    std::optional<Image> still;
    ASSERT_TRUE(poll_until([&] {
        still = origin();
        return !still->all({0, 0, 200, 40}, kBlack);
    })) << "no title after the intro";
    EXPECT_FALSE(still->all({944, 738, 1024, 768}, kBlack)) << "no year";
    EXPECT_FALSE(still->all({0, 738, 150, 768}, kBlack)) << "no studio";
    EXPECT_FALSE(still->all({502, 256, 522, 384}, kBlack)) << "no still in the middle";
    EXPECT_TRUE(others_black());

    // Appearing under the pointer recorded where it is, as the first move does on Windows;
    // a move by one pixel from there ends it.
    sway_.move_by(1, 0);
    expect_ended(saver);
}

TEST_F(FullScreen, FlasherIsBlackThenShowsOnePictureWhollyInsideAndEndsOnAButton) {
    park(kOutputs[0]);
    Process saver =
        start_saver(sway_, {"--fullscreen", "--mode", "flasher", "--flasher-speed", "600"});
    ASSERT_TRUE(start(saver)) << "not every output is covered";
    ASSERT_TRUE(poll_until([&] { return origin().all(origin().box(), kBlack); }))
        << "the origin output is not black at first";
    const auto picture = drawing_once([](const Box&) { return true; });
    ASSERT_TRUE(picture.has_value()) << "no picture";
    EXPECT_GE(picture->width(), 60);
    EXPECT_GE(picture->height(), 60);
    EXPECT_TRUE(others_black());
    EXPECT_TRUE(poll_until([&] { return origin().all(origin().box(), kBlack); }))
        << "the picture stays";
    sway_.click(1);
    expect_ended(saver);
}

// A key, a button, a move of 5 pixels from the last recorded position (the first move and
// smaller ones only record), SIGTERM and SIGINT end the Drifter over whichever output the
// pointer is, on the output at scale 1.5 too; the pointer is hidden over each.
enum class Input { key, button, moves, sigterm, sigint };
struct EndCase {
    Input input;
    int output;
};

void PrintTo(const EndCase& c, std::ostream* out) {
    *out << static_cast<int>(c.input) << " over " << kOutputs[c.output].name;
}

std::string end_case_name(const EndCase& c) {
    const char* const inputs[] = {"key", "button", "moves", "sigterm", "sigint"};
    return std::string(inputs[static_cast<int>(c.input)]) + "_over_" +
           (kOutputs[c.output].name + 9);
}

class EndsOnInput : public FullScreen, public ::testing::WithParamInterface<EndCase> {};

TEST_P(EndsOnInput, OverEachOutput) {
    const DesktopOutput& o = kOutputs[GetParam().output];
    park(o);
    Process saver = start_saver(sway_, {"--fullscreen", "--mode", "drifter"});
    ASSERT_TRUE(start(saver));
    EXPECT_TRUE(poll_until([&] { return !pointer_drawn(); })) << "the pointer shows";
    switch (GetParam().input) {
        case Input::key:
            sway_.key("Escape");
            break;
        case Input::button:
            sway_.click(GetParam().output + 1);
            break;
        case Input::moves:
            for (const auto& [dx, dy] : {std::pair{1, 1}, {4, 4}, {4, -4}, {-4, 4}, {0, -4}}) {
                sway_.move_by(dx, dy);
                ASSERT_TRUE(runs_on(saver)) << "ended on the move by " << dx << ", " << dy;
            }
            sway_.move_by(-5, 0);
            break;
        case Input::sigterm:
            saver.signal(SIGTERM);
            break;
        case Input::sigint:
            saver.signal(SIGINT);
            break;
    }
    expect_ended(saver);
}

INSTANTIATE_TEST_SUITE_P(KeysButtonsMovesSignals, EndsOnInput,
                         ::testing::Values(EndCase{Input::key, 0}, EndCase{Input::key, 1},
                                           EndCase{Input::key, 2}, EndCase{Input::button, 0},
                                           EndCase{Input::button, 1}, EndCase{Input::button, 2},
                                           EndCase{Input::moves, 0}, EndCase{Input::moves, 1},
                                           EndCase{Input::moves, 2}, EndCase{Input::sigterm, 0},
                                           EndCase{Input::sigint, 2}),
                         [](const auto& info) { return end_case_name(info.param); });

TEST_F(FullScreen, ASecondCopyEndsAtOnceAndTheFirstRunsOn) {
    Process first = start_saver(sway_, {"--fullscreen", "--mode", "flasher"});
    ASSERT_TRUE(start(first));
    Process second = start_saver(sway_, {"--fullscreen", "--mode", "drifter"});
    EXPECT_EQ(second.wait_for_exit(), 0);
    EXPECT_TRUE(first.running());
    EXPECT_TRUE(covered());
    sway_.key("space");
    expect_ended(first);
}

TEST_F(FullScreen, SwayidleStartsItAtIdleAndAKeyEndsIt) {
    const std::string command = saver_path() + " --fullscreen --mode flasher";
    Process idle = sway_.client({"swayidle", "-w", "timeout", "2", command});
    ASSERT_TRUE(poll_until([&] { return covered(); }, 15s)) << "swayidle does not start it";
    sway_.key("Return");
    // Ended before the key's own idle timeout could start another: swayidle, waiting for
    // the saver, ends as soon as the saver has; the saver does not end with it.
    idle.signal(SIGTERM);
    EXPECT_TRUE(poll_until([&] { return desktop_shows(); })) << "a key does not end it";
    EXPECT_TRUE(idle.wait_for_exit().has_value());
}

// The Drifter chosen by its options, and by a settings file and options whose values do not
// convert, which read as the settings' defaults: picture 41 from the origin output's left
// edge, vertically centred, moving straight right; the other outputs stay black.
TEST_F(FullScreen, TheDrifterStartsAtTheOriginOutputsLeftEdgeAndMovesRight) {
    const std::string hostile =
        "[Config]\nType=drifter\nDriftImage=99999\nDriftSpeed=-25\nDriftTrail=1e999\n"
        "FlasherSpeed=\nSQSpeed=0x10\nSQTitle=yes\n" +
        std::string(1 << 20, 'x') + "\nDriftImage\n=7\n[Config\nType=2\n";
    struct Case {
        std::vector<std::string> options;
        std::optional<std::string> settings;
        int first_left_at_most;  // its slowest pace stays within 4 pixels for two seconds
    };
    const Case cases[] = {
        {{"--fullscreen", "--mode", "drifter", "--drift-speed", "500"}, std::nullopt, 4},
        {{"--fullscreen"}, hostile, 100},
        {{"--fullscreen", "--mode", "screensaver", "--drift-image", "7", "--drift-speed", "fast"},
         hostile,
         100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.back());
        Process saver = start_saver(sway_, c.options, c.settings);
        ASSERT_TRUE(start(saver)) << "not every output is covered";
        const auto first = drawing_once([](const Box&) { return true; });
        ASSERT_TRUE(first.has_value()) << "nothing drawn";
        EXPECT_LE(first->left, c.first_left_at_most);
        EXPECT_EQ(first->top, kPortraitTop) << "not the default picture";
        EXPECT_EQ(first->width(), kPortraitWidth) << "not the default picture";
        EXPECT_EQ(first->height(), kPortraitHeight) << "not the default picture";
        const auto later = drawing_once([&](const Box& r) { return r.left > first->left + 3; });
        ASSERT_TRUE(later.has_value()) << "the picture does not move right";
        EXPECT_EQ(later->top, first->top) << "the first direction is straight right";
        EXPECT_TRUE(others_black());
        sway_.key("space");
        expect_ended(saver);
    }
}

// Where both sessions are offered (XWayland), Wayland draws unless --x11 asks for X; this
// X display is one that does not exist, so X11 shows itself by failing to open it.
TEST_F(FullScreen, WithBothSessionsItDrawsOnWaylandUnlessAskedForX11) {
    const std::vector<std::string> x_too{"DISPLAY=:9999"};
    Process wayland = sway_.client({saver_path(), "--fullscreen", "--mode", "flasher"}, x_too);
    ASSERT_TRUE(start(wayland)) << "not drawn on Wayland";
    wayland.signal(SIGTERM);
    expect_ended(wayland);

    const auto errors = sway_.folder() / "forced-x11.txt";
    Process x11 = sway_.client({saver_path(), "--fullscreen", "--x11"}, x_too, errors);
    EXPECT_EQ(x11.wait_for_exit(), 1);
    EXPECT_NE(read_text(errors).find(":9999"), std::string::npos) << read_text(errors);
    EXPECT_TRUE(desktop_shows());
}

TEST(NoSession, WithoutWaylandOrXItSaysSoOnOneLineWithStatusOne) {
    const auto folder = desktop().folder();
    const auto errors = folder / "no-session.txt";
    Process saver(
        {saver_path(), "--fullscreen"},
        {"PATH=/usr/bin:/bin", "HOME=" + folder.string(), "XDG_RUNTIME_DIR=" + folder.string()},
        errors);
    EXPECT_EQ(saver.wait_for_exit(), 1);
    const std::string text = read_text(errors);
    EXPECT_EQ(text.find("vqsaver: "), 0u) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
}

}  // namespace
}  // namespace vqw
