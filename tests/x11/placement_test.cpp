// Where the program draws and how it ends: the window named by --window-id, by
// XSCREENSAVER_WINDOW or by --root; two copies side by side; SIGTERM, SIGINT and the end of
// its window; settings from the file and the options; a bad command line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <signal.h>

#include "driver.h"

namespace vqx {
namespace {

class Placement : public ::testing::Test {
  protected:
    void SetUp() override { whiten_root(); }
    static bool black(const Box& box) { return ScreenImage::capture().all(box, kBlack); }
};

TEST_F(Placement, DrawsIntoTheWindowXscreensaverNamesWithOrWithoutRoot) {
    const TestWindow window({200, 150, 600, 450});
    for (const bool root : {false, true}) {
        std::vector<std::string> arguments{"--mode", "flasher"};
        if (root) arguments.push_back("-root");
        Saver saver(arguments, {"XSCREENSAVER_WINDOW=" + window.id_text()});
        EXPECT_TRUE(poll_until([&] { return black(window.box()); })) << "root: " << root;
        EXPECT_TRUE(ScreenImage::capture().all({0, 0, 800, 150}, kWhite)) << "root: " << root;
        saver.signal(SIGTERM);
        EXPECT_EQ(saver.wait_for_exit(), 0);
        window.clear();
        whiten_root();
    }
}

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

TEST_F(Placement, DrawsIntoTheRootWithoutAWindowNamed) {
    Saver saver({"--root", "--mode", "flasher"});
    EXPECT_TRUE(poll_until([] { return black({0, 0, 800, 600}); }));
    saver.signal(SIGTERM);
    EXPECT_EQ(saver.wait_for_exit(), 0);
}

TEST_F(Placement, TwoCopiesDrawSideBySideInTwoWindows) {
    const TestWindow left({0, 150, 400, 450});
    const TestWindow right({400, 150, 800, 450});
    Saver one({"--window-id", left.id_text(), "--mode", "drifter", "--drift-speed", "50"});
    Saver two({"-window-id", right.id_text(), "-mode", "drifter", "-drift-speed", "50"});
    // Each drifts its own picture, vertically centred in its own window, a half-size
    // miniature of the screen: the picture's inside 109 pixels wide from 229 down, halved.
    auto near = [](int seen, double wanted) { return std::abs(seen - wanted) <= 2; };
    EXPECT_TRUE(poll_until([&] {
        const ScreenImage screen = ScreenImage::capture();
        const auto a = screen.drawn_bounds(left.box());
        const auto b = screen.drawn_bounds(right.box());
        return a && b && near(a->top, 150 + 229 / 2.0) && near(b->top, 150 + 229 / 2.0) &&
               near(a->width(), 109 / 2.0) && near(b->width(), 109 / 2.0) && a->left > 5 &&
               b->left > 405;
    })) << "the two copies do not both drift";
    EXPECT_TRUE(one.running());
    EXPECT_TRUE(two.running());
    one.signal(SIGTERM);
    two.signal(SIGTERM);
    EXPECT_EQ(one.wait_for_exit(), 0);
    EXPECT_EQ(two.wait_for_exit(), 0);
}

struct EndCase {
    const char* name;
    std::vector<std::string> arguments;
    int signal;
};

class EndsOnSignal : public Placement, public ::testing::WithParamInterface<EndCase> {};

TEST_P(EndsOnSignal, WithinASecondAndStatusZero) {
    const TestWindow window({0, 0, 800, 600});
    std::vector<std::string> arguments = GetParam().arguments;
    for (std::string& a : arguments)
        if (a == "WINDOW") a = window.id_text();
    Saver saver(arguments);
    // Started: the window it draws in is black.
    ASSERT_TRUE(poll_until([] { return black({300, 250, 500, 350}); }));
    saver.signal(GetParam().signal);
    EXPECT_EQ(saver.wait_for_exit(std::chrono::seconds(1)), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Placements, EndsOnSignal,
    ::testing::Values(
        EndCase{"given_window_term", {"--window-id", "WINDOW", "--mode", "flasher"}, SIGTERM},
        EndCase{"given_window_int",
                {"--window-id", "WINDOW", "--mode", "drifter", "--drift-speed", "10"},
                SIGINT},
        EndCase{"fullscreen_term", {"--fullscreen", "--mode", "flasher"}, SIGTERM},
        EndCase{"own_window_term", {"--mode", "flasher"}, SIGTERM}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Placement, InAWindowOfItsOwnEndsOnQ) {
    Saver saver({"--mode", "flasher"});
    ASSERT_TRUE(poll_until([] { return black({300, 250, 500, 350}); }));
    move_pointer(400, 300);
    press_key("q");
    EXPECT_EQ(saver.wait_for_exit(), 0);
}

// Twips follow the display's DPI from Xft.dpi: at 192 dpi the title stands at 100 twips,
// 13 pixels, from the corner, twice as high as at 96.
TEST_F(Placement, TwipsAndFontsFollowXftDpi) {
    const TestWindow window({0, 0, 800, 600});
    auto title_at = [&](const char* resources) {
        set_resources(resources);
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
        window.clear();
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

TEST_F(Placement, EndsWhenItsWindowIsDestroyed) {
    TestWindow window({0, 0, 800, 600});
    Saver saver({"--window-id", window.id_text(), "--mode", "drifter", "--drift-speed", "10"});
    ASSERT_TRUE(poll_until([] { return black({0, 0, 10, 10}); }));
    window.destroy();
    EXPECT_EQ(saver.wait_for_exit(), 0);
}

// Which arguments are bad, and that the message names each, is the option table's.
TEST_F(Placement, ABadCommandLineIsNamedOnOneLineWithTheUsageAndStatusTwo) {
    Saver saver({"--mode", "flasher", "--speed"});
    EXPECT_EQ(saver.wait_for_exit(), 2);
    const std::string errors = saver.error_output();
    EXPECT_EQ(errors.find("vqsaver: "), 0u) << errors;
    EXPECT_NE(errors.substr(0, errors.find('\n')).find("--speed"), std::string::npos) << errors;
    EXPECT_NE(errors.find("\nUsage: vqsaver"), std::string::npos) << errors;
    Saver help({"--help"});
    EXPECT_EQ(help.wait_for_exit(), 0);
}

// Settings: from the file, the options over it, and values that do not convert, which read
// as the setting's default (the Drifter with picture 41 at the left edge).
class Settings : public Placement {
  protected:
    const TestWindow window_{{0, 0, 800, 600}};
    std::vector<std::string> given(std::vector<std::string> options) const {
        options.insert(options.begin(), {"--window-id", window_.id_text()});
        return options;
    }
    static bool default_drifter_shows() {
        const auto seen = ScreenImage::capture().drawn_bounds();
        return seen && seen->top == 229 && seen->height() == 143 && seen->width() == 109 &&
               seen->left < 100;
    }
    static bool intro_shows() {
        const auto seen = ScreenImage::capture().drawn_bounds();
        return seen && std::abs((seen->top + seen->bottom) / 2 - 300) <= 4 && seen->width() > 250;
    }
};

TEST_F(Settings, TheFileChoosesTheModeAndItsSettings) {
    Saver saver(given({}), {}, "[Config]\r\nType=1\r\nSQSpeed=600\r\nSQTitle=0\r\n");
    EXPECT_TRUE(poll_until(intro_shows)) << "no Still & Quote intro";
    std::optional<ScreenImage> still;
    ASSERT_TRUE(poll_until([&] {
        still = ScreenImage::capture();
        return !still->all({700, 560, 800, 600}, kBlack);
    })) << "no still";
    EXPECT_TRUE(still->all({0, 0, 300, 45}, kBlack)) << "a title despite SQTitle=0";
}

TEST_F(Settings, OptionsOverrideTheFile) {
    Saver saver(given({"--mode", "still-quote", "--title", "--still-speed", "600"}), {},
                "[Config]\nType=2\nSQSpeed=60000\nSQTitle=0\n");
    EXPECT_TRUE(poll_until(intro_shows)) << "no Still & Quote intro";
    EXPECT_TRUE(poll_until([] {
        return !ScreenImage::capture().all({0, 0, 300, 45}, kBlack);
    })) << "no title after --title within --still-speed";
}

TEST_F(Settings, HostileValuesInTheFileReadAsTheDefaults) {
    Saver saver(given({}), {},
                "[Config]\nType=drifter\nDriftImage=99999\nDriftSpeed=-25\nDriftTrail=1e999\n"
                "FlasherSpeed=\nSQSpeed=0x10\nSQTitle=yes\n" +
                    std::string(1 << 20, 'x') + "\nDriftImage\n=7\n[Config\nType=2\n");
    EXPECT_TRUE(poll_until(default_drifter_shows)) << "not the default Drifter";
    EXPECT_TRUE(poll_until([] {
        const auto seen = ScreenImage::capture().drawn_bounds();
        return seen && seen->left > 20 && seen->width() == 109;
    })) << "no default drift without a trail";
}

TEST_F(Settings, OptionValuesThatDoNotConvertReadAsTheDefaults) {
    Saver saver(given({"--mode", "screensaver", "--drift-image", "7", "--drift-speed", "fast"}), {},
                "[Config]\nType=2\nDriftSpeed=5000\n");
    EXPECT_TRUE(poll_until(default_drifter_shows)) << "not the default Drifter";
    EXPECT_TRUE(poll_until([] {
        const auto seen = ScreenImage::capture().drawn_bounds();
        return seen && seen->left > 20;
    })) << "not at the default speed";
}

}  // namespace
}  // namespace vqx
