// The three modes in an 800 x 600 window the program is given, chosen by options and by the
// settings file, judged from the screen's pixels. In a given window the program takes no
// input and keeps the pointer. Miniatures of the screen are the Miniature suite's.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>

#include "driver.h"

namespace vqx {
namespace {

// Picture 41, the Drifter's default: 111 x 145 pixels in a one-pixel black frame, so what
// shows of it is 109 x 143, from one pixel below y = (600 - 145) / 2 rounded half to even.
constexpr int kPortraitInsideWidth = 109;
constexpr int kPortraitInsideHeight = 143;
constexpr int kPortraitInsideTop = 229;

class GivenWindow : public ::testing::Test {
  protected:
    void SetUp() override { whiten_root(); }
    std::vector<std::string> given(std::vector<std::string> options) const {
        options.insert(options.begin(), {"--window-id", window_.id_text()});
        return options;
    }
    // The bounds of what is drawn, once `condition` holds for them.
    template <typename Condition>
    static std::optional<Box> drawing_once(Condition&& condition) {
        return vqtest::poll_for([] { return ScreenImage::capture().drawn_bounds(); }, condition);
    }
    static void end_with_sigterm(Saver& saver) {
        saver.signal(SIGTERM);
        EXPECT_EQ(saver.wait_for_exit(), 0);
    }

    TestWindow window_{{0, 0, 800, 600}};
};

// The Drifter chosen by its options, and by a settings file and options whose values do not
// convert, which read as the settings' defaults: picture 41 from the left edge, vertically
// centred, moving straight right without a trail. Input belongs to whoever gave the window:
// it neither ends the program nor hides the pointer.
struct DrifterCase {
    const char* name;
    std::vector<std::string> options;
    std::optional<std::string> settings;
    int first_left_at_most;  // only a slow pace is sure to be seen at its start
};

class Drifter : public GivenWindow, public ::testing::WithParamInterface<DrifterCase> {};

TEST_P(Drifter, StartsAtTheLeftEdgeCentredAndMovesRightWhateverTheInput) {
    Saver saver(given(GetParam().options), {}, GetParam().settings);
    const auto first = drawing_once(vqtest::kAny);
    ASSERT_TRUE(first.has_value()) << "nothing drawn";
    EXPECT_LE(first->left, GetParam().first_left_at_most);
    EXPECT_EQ(first->top, kPortraitInsideTop);
    EXPECT_EQ(first->width(), kPortraitInsideWidth);
    EXPECT_EQ(first->height(), kPortraitInsideHeight);

    move_pointer(20, 20);
    move_pointer(60, 60);
    click(1);
    press_key("space");
    EXPECT_FALSE(pointer_hidden());
    const auto later =
        drawing_once([](const Box& r) { return r.left > 20 && r.width() == kPortraitInsideWidth; });
    ASSERT_TRUE(later.has_value()) << "the picture does not move right without a trail";
    EXPECT_EQ(later->top, first->top) << "the first direction is straight right";
    EXPECT_TRUE(saver.running());
    end_with_sigterm(saver);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, Drifter,
    ::testing::Values(
        DrifterCase{"options", {"--mode", "drifter", "--drift-speed", "100"}, std::nullopt, 4},
        DrifterCase{"hostile_file",
                    {},
                    "[Config]\nType=drifter\nDriftImage=99999\nDriftSpeed=-25\nDriftTrail=1e999\n"
                    "FlasherSpeed=\nSQSpeed=0x10\nSQTitle=yes\n" +
                        std::string(1 << 20, 'x') + "\nDriftImage\n=7\n[Config\nType=2\n",
                    100},
        DrifterCase{"options_that_do_not_convert",
                    {"--mode", "screensaver", "--drift-image", "7", "--drift-speed", "fast"},
                    "[Config]\nType=2\nDriftSpeed=5000\n",
                    100}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GivenWindow, FlasherIsBlackAtFirstThenShowsOnePictureThenBlackAgain) {
    Saver saver(given({"--mode", "flasher", "--flasher-speed", "600"}));
    ASSERT_TRUE(poll_until([&] { return ScreenImage::capture().all(window_.box(), kBlack); }))
        << "the window is not black at first";
    const auto picture = drawing_once(vqtest::kAny);
    ASSERT_TRUE(picture.has_value()) << "no picture";
    EXPECT_GE(picture->width(), 60);
    EXPECT_GE(picture->height(), 60);
    EXPECT_TRUE(poll_until([&] { return ScreenImage::capture().all(window_.box(), kBlack); }))
        << "the picture stays";
    end_with_sigterm(saver);
}

// A window that changes size starts clean in the back colour, as on Windows: the trail drawn
// so far (from the left edge, asked for) is gone, and the Drifter's next steps draw on black.
TEST_F(GivenWindow, AResizedWindowStartsClean) {
    window_.resize(600, 600);
    Saver saver(given({"--mode", "drifter", "--drift-speed", "20", "--trail"}));
    ASSERT_TRUE(drawing_once([](const Box& b) {
        return b.left <= 3 && b.right > 40 + kPortraitInsideWidth;
    })) << "no trail from the left edge";
    window_.resize(800, 600);
    EXPECT_TRUE(drawing_once([](const Box& b) { return b.left > 40; }))
        << "the trail stays after the resize";
    end_with_sigterm(saver);
    window_.clear();
}

// Still & Quote chosen by its options, by the settings file, and by options over the file:
// the intro centred and wrapped within 3/4 of the width, then stills with the captions their
// settings allow. Only the quotation moves the picture, which without it stands exactly in
// the middle. Which option turns off which caption is the unit tests' table.
struct StillCase {
    const char* name;
    std::vector<std::string> options;
    std::optional<std::string> settings;
    bool title, quote, studio, year;
};

// The rows of the longest run in which a strip around x shows anything: a picture, told
// from the lines of text under it by the blank rows between them.
Box tallest_block(const ScreenImage& screen, int x) {
    Box best{x - 60, 0, x + 60, 0};
    int run_start = -1;
    for (int y = 0; y <= screen.height(); ++y) {
        const bool shows = y < screen.height() && !screen.all({x - 60, y, x + 60, y + 1}, kBlack);
        if (shows && run_start < 0) run_start = y;
        if (!shows && run_start >= 0) {
            if (y - run_start > best.height()) {
                best.top = run_start;
                best.bottom = y;
            }
            run_start = -1;
        }
    }
    return best;
}

class StillAndQuote : public GivenWindow, public ::testing::WithParamInterface<StillCase> {};

TEST_P(StillAndQuote, ShowsTheIntroThenStillsWithTheCaptionsAllowed) {
    const StillCase& c = GetParam();
    Saver saver(given(c.options), {}, c.settings);
    EXPECT_TRUE(drawing_once([](const Box& r) {
        return std::abs((r.left + r.right) / 2 - 400) <= 4 &&
               std::abs((r.top + r.bottom) / 2 - 300) <= 4 && r.width() > 250 &&
               r.width() <= 800 * 3 / 4;
    })) << "no centred intro within 3/4 of the width";
    std::optional<ScreenImage> still;
    Box picture;
    // The still is up once a tall picture stands at the centre of the blackened window.
    ASSERT_TRUE(poll_until([&] {
        still = ScreenImage::capture();
        picture = tallest_block(*still, 400);
        return still->pixel(0, 0) == kBlack && picture.height() > 200 && picture.height() < 400;
    })) << "no still";
    EXPECT_EQ(!still->all({0, 0, 300, 45}, kBlack), c.title) << "title";
    EXPECT_EQ(!still->all({0, 560, 250, 600}, kBlack), c.studio) << "studio";
    EXPECT_EQ(!still->all({700, 560, 800, 600}, kBlack), c.year) << "year";
    const bool text_under_picture = !still->all({150, picture.bottom, 650, 555}, kBlack);
    EXPECT_EQ(text_under_picture, c.quote) << "quotation";
    const int centre_twice = picture.top + picture.bottom;
    if (c.quote)
        EXPECT_LT(centre_twice, 600 - 20) << "the picture and quotation are centred together";
    else
        EXPECT_NEAR(centre_twice, 600, 2) << "the picture alone is centred";
    end_with_sigterm(saver);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, StillAndQuote,
    ::testing::Values(StillCase{"title",
                                {"--mode", "still-quote", "--still-speed", "800", "--title"},
                                std::nullopt,
                                true,
                                true,
                                true,
                                true},
                      StillCase{"no_quote",
                                {"--mode", "still-quote", "--still-speed", "800", "--no-quote"},
                                std::nullopt,
                                true,
                                false,
                                true,
                                true},
                      StillCase{"no_year",
                                {"--mode", "still-quote", "--still-speed", "800", "--no-year"},
                                std::nullopt,
                                true,
                                true,
                                true,
                                false},
                      StillCase{"settings_file",
                                {},
                                "[Config]\r\nType=1\r\nSQSpeed=600\r\nSQTitle=0\r\n",
                                false,
                                true,
                                true,
                                true},
                      // The file's pace would keep the intro up for a minute.
                      StillCase{"options_over_the_file",
                                {"--mode", "still-quote", "--title", "--still-speed", "600"},
                                "[Config]\nType=2\nSQSpeed=60000\nSQTitle=0\n",
                                true,
                                true,
                                true,
                                true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vqx
