// Where the program draws and how it ends: the window named by --window-id or by
// XSCREENSAVER_WINDOW (with or without -root), the root, a window of its own and full
// screen, each ended by a signal, q or the end of its window; two copies side by side; a
// surface the server cannot make; input in a given window; twips and fonts following
// Xft.dpi.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>

#include "driver.h"

namespace vqx {
namespace {

class Placement : public ::testing::Test {
  protected:
    void SetUp() override { whiten_root(); }
    static bool taken(const Box& box) { return ScreenImage::capture().corners_black(box); }
};

enum class Ending { sigterm, sigint, q_key, window_destroyed };

// The test's own window, handed over as "WINDOW" in the arguments or in XSCREENSAVER_WINDOW.
constexpr Box kWindow{200, 150, 600, 450};
constexpr Box kScreen{0, 0, 800, 600};
constexpr Box kOwnWindowMiddle{300, 250, 500, 350};

struct PlacementCase {
    const char* name;
    const char* arguments;
    bool named_by_xscreensaver;
    Box covered;  // its corners black once it runs; only kWindow rows get the test's window
    Ending ending;
};

class DrawsAndEnds : public Placement, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(DrawsAndEnds, WhereItIsToldAndWithStatusZero) {
    const PlacementCase& c = GetParam();
    const bool in_window = c.covered.left == kWindow.left;
    std::optional<TestWindow> window;
    std::vector<std::string> arguments = vqtest::words(c.arguments), environment;
    if (in_window) {
        window.emplace(kWindow);
        std::replace(arguments.begin(), arguments.end(), std::string("WINDOW"), window->id_text());
        if (c.named_by_xscreensaver)
            environment.push_back("XSCREENSAVER_WINDOW=" + window->id_text());
    }
    Saver saver(arguments, environment);
    ASSERT_TRUE(poll_until([&] { return taken(c.covered); })) << "not drawn where told";
    if (in_window) {
        EXPECT_TRUE(ScreenImage::capture().all({0, 0, 800, kWindow.top}, kWhite))
            << "drawn outside its window";
    }
    switch (c.ending) {
        case Ending::sigterm:
            saver.signal(SIGTERM);
            break;
        case Ending::sigint:
            saver.signal(SIGINT);
            break;
        case Ending::q_key:
            move_pointer(400, 300);
            press_key("q");
            break;
        case Ending::window_destroyed:
            window->destroy();
            break;
    }
    EXPECT_EQ(saver.wait_for_exit(), 0);
}

// Full screen is one of the rows ending every session's suite; options with one dash are the
// two copies side by side's, SIGINT the root's.
const PlacementCase kPlacements[] = {
    {"window_id_term", "--window-id WINDOW --mode flasher", false, kWindow, Ending::sigterm},
    {"window_id_destroyed", "--window-id WINDOW --mode drifter --drift-speed 10", false, kWindow,
     Ending::window_destroyed},
    {"xscreensaver_window", "--mode flasher", true, kWindow, Ending::sigterm},
    {"xscreensaver_window_root", "--mode flasher -root", true, kWindow, Ending::sigterm},
    {"root", "--root --mode flasher", false, kScreen, Ending::sigint},
    {"own_window_q", "--mode flasher", false, kOwnWindowMiddle, Ending::q_key}};

INSTANTIATE_TEST_SUITE_P(Placements, DrawsAndEnds, ::testing::ValuesIn(kPlacements),
                         [](const auto& info) { return std::string(info.param.name); });

// A window too large for any drawing surface the X server can make: the program says so and
// ends with status 1 instead of leaving the window blank.
TEST_F(Placement, EndsWithAMessageWhenTheServerCannotMakeItsSurface) {
    const TestWindow window({0, 0, 40000, 300});
    for (const char* mode : {"drifter", "flasher"}) {
        Saver saver({"--window-id", window.id_text(), "--mode", mode});
        EXPECT_EQ(saver.wait_for_exit(), 1) << mode;
        EXPECT_NE(saver.error_output().find("40000 x 300"), std::string::npos)
            << mode << ": " << saver.error_output();
    }
}
TEST_F(Placement, TwoCopiesDrawSideBySideInTwoWindows) {
    const TestWindow left({0, 150, 400, 450});
    const TestWindow right({400, 150, 800, 450});
    Saver one({"--window-id", left.id_text(), "--mode", "drifter", "--drift-speed", "50"});
    Saver two({"-window-id", right.id_text(), "-mode", "drifter", "-drift-speed", "50"});
    // Each drifts its own picture in its own window (how a miniature is laid out is the
    // Miniature suite's): both have left their window's left edge.
    EXPECT_TRUE(poll_until([&] {
        const ScreenImage screen = ScreenImage::capture();
        const auto a = screen.drawn_bounds(left.box());
        const auto b = screen.drawn_bounds(right.box());
        return a && b && a->left > 5 && b->left > 405;
    })) << "the two copies do not both drift";
    EXPECT_TRUE(one.running());
    EXPECT_TRUE(two.running());
    one.signal(SIGTERM);
    two.signal(SIGTERM);
    EXPECT_EQ(one.wait_for_exit(), 0);
    EXPECT_EQ(two.wait_for_exit(), 0);
}

// In a given window of the monitor's size the Drifter shows one to one (picture 41's inside,
// 109 x 143, from one pixel below (600 - 145) / 2 rounded half to even), and input belongs
// to whoever gave the window: it neither ends the program nor hides the pointer, and the
// picture moves on. The modes themselves are proven full screen, miniatures of the screen
// and resized windows by the Miniature suite.
TEST_F(Placement, InAGivenWindowTheDrifterShowsOneToOneAndTakesNoInput) {
    const TestWindow window({0, 0, 800, 600});
    Saver saver({"--window-id", window.id_text(), "--mode", "drifter", "--drift-speed", "100"});
    const auto drawing_once = [](auto condition) {
        return vqtest::poll_for([] { return ScreenImage::capture().drawn_bounds(); }, condition);
    };
    const auto first = drawing_once(vqtest::kAny);
    ASSERT_TRUE(first.has_value()) << "nothing drawn";
    EXPECT_LE(first->left, 4);
    EXPECT_EQ(first->top, 229);
    EXPECT_EQ(first->width(), 109);
    EXPECT_EQ(first->height(), 143);
    move_pointer(20, 20);
    move_pointer(60, 60);
    click(1);
    press_key("space");
    EXPECT_FALSE(pointer_hidden());
    const auto later = drawing_once([&](const Box& r) { return r.left > first->left + 3; });
    ASSERT_TRUE(later.has_value()) << "the picture does not move right";
    EXPECT_EQ(later->top, first->top);
    EXPECT_TRUE(saver.running());
    saver.signal(SIGTERM);
    EXPECT_EQ(saver.wait_for_exit(), 0);
}

// Twips follow the display's DPI from Xft.dpi: at 192 dpi the title stands at 100 twips,
// 13 pixels, from the corner, twice as high as at 96.
TEST_F(Placement, TwipsAndFontsFollowXftDpi) {
    auto title_at = [](const char* resources) {
        set_resources(resources);
        const TestWindow window({0, 0, 800, 600});  // white: a window keeps what was drawn
        Saver saver(
            {"--window-id", window.id_text(), "--mode", "still-quote", "--still-speed", "300"});
        std::optional<Box> title;
        poll_until([&] {
            const ScreenImage screen = ScreenImage::capture();
            title =
                screen.pixel(0, 0) == kBlack ? screen.drawn_bounds({0, 0, 270, 120}) : std::nullopt;
            return title.has_value();
        });
        saver.signal(SIGTERM);
        EXPECT_EQ(saver.wait_for_exit(), 0);
        return title;
    };
    const auto at_96 = title_at(nullptr);
    const auto at_192 = title_at("Xft.dpi:\t192\n");
    set_resources(nullptr);
    ASSERT_TRUE(at_96 && at_192) << "no title";
    EXPECT_NEAR(at_96->left, 7, 2);
    EXPECT_NEAR(at_192->left, 13, 2);
    EXPECT_NEAR(at_192->height(), at_96->height() * 2, 3);
}

}  // namespace
}  // namespace vqx
