// The three modes in a window the program is given, judged from the screen's pixels: the
// whole 800 x 600 screen, and a 400 x 300 preview window on a white screen, which shows the
// screen at half size and whose surroundings must stay white. In a given window the program
// takes no input and keeps the pointer.
#include <gtest/gtest.h>
#include <signal.h>

#include "driver.h"

namespace vqx {
namespace {

// Picture 41, the Drifter's default: 111 x 145 pixels in a one-pixel black frame, so what
// shows of it is 109 x 143, starting one pixel below its top at y = (H - 145) / 2, rounded
// half to even.
constexpr int kPortraitInsideWidth = 109;
constexpr int kPortraitInsideHeight = 143;
int portrait_inside_top(int window_height) {
    const int twice = window_height - 145;
    const int top = twice % 2 == 0 ? twice / 2 : (twice / 2) % 2 == 0 ? twice / 2 : twice / 2 + 1;
    return top + 1;
}

struct WindowCase {
    const char* name;
    Box box;
    double scale;  // of the screen's lengths in the window
};

const WindowCase kWindows[] = {{"full_screen", {0, 0, 800, 600}, 1},
                               {"preview", {150, 120, 550, 420}, 0.5}};

class GivenWindow : public ::testing::TestWithParam<WindowCase> {
  protected:
    void SetUp() override {
        whiten_root();
        window_.emplace(GetParam().box);
    }
    const Box& box() const { return GetParam().box; }
    double scale() const { return GetParam().scale; }
    // One to one exactly; scaled, give or take the pixels the scaling blends.
    void expect_length(int seen, int full_size, const char* what) const {
        if (scale() == 1)
            EXPECT_EQ(seen, full_size) << what;
        else
            EXPECT_NEAR(seen, full_size * scale(), 2) << what;
    }
    std::vector<std::string> given(std::vector<std::string> options) const {
        options.insert(options.begin(), {"--window-id", window_->id_text()});
        return options;
    }
    // The program has taken the window: its corners are black.
    bool taken() const {
        const ScreenImage screen = ScreenImage::capture();
        const Box& b = box();
        return screen.pixel(b.left, b.top) == kBlack &&
               screen.pixel(b.right - 1, b.top) == kBlack &&
               screen.pixel(b.left, b.bottom - 1) == kBlack &&
               screen.pixel(b.right - 1, b.bottom - 1) == kBlack;
    }
    // The bounds of the picture drawn in the window, once `condition` holds for them.
    template <typename Condition>
    std::optional<Box> drawing_once(Condition&& condition) const {
        std::optional<Box> seen;
        const bool held = poll_until([&] {
            seen = ScreenImage::capture().drawn_bounds(box());
            return seen && condition(*seen);
        });
        return held ? seen : std::nullopt;
    }
    // Nothing drawn outside the window.
    void expect_surroundings_white() const {
        if (box().width() == 800) return;
        const ScreenImage screen = ScreenImage::capture();
        const Box& b = box();
        EXPECT_TRUE(screen.all({b.left - 10, b.top - 10, b.right + 10, b.top}, kWhite));
        EXPECT_TRUE(screen.all({b.left - 10, b.bottom, b.right + 10, b.bottom + 10}, kWhite));
        EXPECT_TRUE(screen.all({b.left - 10, b.top, b.left, b.bottom}, kWhite));
        EXPECT_TRUE(screen.all({b.right, b.top, b.right + 10, b.bottom}, kWhite));
    }
    static void end_with_sigterm(Saver& saver) {
        saver.signal(SIGTERM);
        EXPECT_EQ(saver.wait_for_exit(), 0);
    }

    std::optional<TestWindow> window_;
};

TEST_P(GivenWindow, DrifterStartsAtTheLeftEdgeCentredAndMovesRightWhateverTheInput) {
    Saver saver(given({"--mode", "drifter", "--drift-speed", "100"}));
    ASSERT_TRUE(poll_until([&] { return taken(); })) << "the window stays white";
    const auto first = drawing_once([](const Box&) { return true; });
    ASSERT_TRUE(first.has_value()) << "nothing drawn";
    EXPECT_LE(first->left - box().left, 4);
    expect_length(first->top - box().top, portrait_inside_top(600), "top");
    expect_length(first->height(), kPortraitInsideHeight, "height");
    expect_length(first->width(), kPortraitInsideWidth, "width");
    expect_surroundings_white();

    // Input belongs to whoever gave the window: it neither ends the program nor hides the
    // pointer, and the picture goes on moving right.
    move_pointer(box().left + 20, box().top + 20);
    move_pointer(box().left + 60, box().top + 60);
    click(1);
    press_key("space");
    EXPECT_FALSE(pointer_hidden());
    const auto later = drawing_once([&](const Box& r) { return r.left > first->left + 3; });
    ASSERT_TRUE(later.has_value()) << "the picture does not move right";
    EXPECT_EQ(later->top, first->top) << "the first direction is straight right";
    EXPECT_TRUE(saver.running());
    end_with_sigterm(saver);
}

TEST_P(GivenWindow, StillAndQuoteShowsTheCentredIntroThenAStillWithItsCaptionsInTheCorners) {
    Saver saver(given({"--mode", "still-quote", "--still-speed", "1500"}));
    ASSERT_TRUE(poll_until([&] { return taken(); })) << "the window stays white";
    const auto intro = drawing_once([](const Box&) { return true; });
    ASSERT_TRUE(intro.has_value()) << "no intro";
    const Box& b = box();
    EXPECT_NEAR((intro->left + intro->right) / 2, (b.left + b.right) / 2, 4);
    EXPECT_NEAR((intro->top + intro->bottom) / 2, (b.top + b.bottom) / 2, 4);
    EXPECT_LE(intro->width(), b.width() * 3 / 4) << "the intro wraps within 3/4 of the width";

    std::optional<ScreenImage> still;
    const Box title_corner{b.left, b.top, b.left + 200, b.top + 40};
    ASSERT_TRUE(poll_until([&] {
        still = ScreenImage::capture();
        return !still->all(title_corner, kBlack);
    })) << "no title after the intro";
    EXPECT_FALSE(still->all({b.right - 80, b.bottom - 30, b.right, b.bottom}, kBlack)) << "no year";
    EXPECT_FALSE(still->all({b.left, b.bottom - 30, b.left + 150, b.bottom}, kBlack))
        << "no studio";
    const int middle_x = (b.left + b.right) / 2;
    EXPECT_FALSE(still->all(
        {middle_x - 10, b.top + b.height() / 3, middle_x + 10, b.top + b.height() / 2}, kBlack))
        << "no still in the middle";
    expect_surroundings_white();
    end_with_sigterm(saver);
}

TEST_P(GivenWindow, FlasherIsBlackAtFirstThenShowsOnePictureWhollyInsideThenBlackAgain) {
    Saver saver(given({"--mode", "flasher", "--flasher-speed", "600"}));
    ASSERT_TRUE(poll_until([&] { return ScreenImage::capture().all(box(), kBlack); }))
        << "the window is not black at first";
    const auto picture = drawing_once([](const Box&) { return true; });
    ASSERT_TRUE(picture.has_value()) << "no picture";
    EXPECT_GE(picture->width(), 60 * scale());
    EXPECT_GE(picture->height(), 60 * scale());
    EXPECT_GE(picture->left, box().left);
    EXPECT_GE(picture->top, box().top);
    EXPECT_LE(picture->right, box().right);
    EXPECT_LE(picture->bottom, box().bottom);
    expect_surroundings_white();
    EXPECT_TRUE(poll_until([&] { return ScreenImage::capture().all(box(), kBlack); }))
        << "the picture stays";
    end_with_sigterm(saver);
}

INSTANTIATE_TEST_SUITE_P(Windows, GivenWindow, ::testing::ValuesIn(kWindows),
                         [](const auto& info) { return std::string(info.param.name); });

class FullWindow : public ::testing::Test {
  protected:
    void SetUp() override { whiten_root(); }
    TestWindow window_{{0, 0, 800, 600}};
};

// A window that changes size starts clean in the back colour, as on Windows: the trail drawn
// so far is gone, and the Drifter's next steps draw on black.
TEST_F(FullWindow, AResizedWindowStartsClean) {
    XResizeWindow(display(), window_.id(), 600, 600);
    XSync(display(), False);
    Saver saver(
        {"--window-id", window_.id_text(), "--mode", "drifter", "--drift-speed", "20", "--trail"});
    std::optional<Box> seen;
    ASSERT_TRUE(poll_until([&] {
        seen = ScreenImage::capture().drawn_bounds({0, 0, 600, 600});
        return seen && seen->left <= 3 && seen->right > 40 + kPortraitInsideWidth;
    })) << "no trail from the left edge";
    XResizeWindow(display(), window_.id(), 800, 600);
    XSync(display(), False);
    EXPECT_TRUE(poll_until([&] {
        seen = ScreenImage::capture().drawn_bounds();
        return seen && seen->left > 40;
    })) << "the trail stays after the resize";
    saver.signal(SIGTERM);
    EXPECT_EQ(saver.wait_for_exit(), 0);
    window_.clear();
}

TEST_F(FullWindow, TheDrifterLeavesATrailOnlyWhenAskedTo) {
    for (const bool trail : {false, true}) {
        Saver saver({"--window-id", window_.id_text(), "--mode", "drifter", "--drift-speed", "10",
                     trail ? "--trail" : "--no-trail"});
        // Moved 40 pixels: what is drawn reaches that far right. Without a trail it is the
        // one picture; with one, the trail lines reach back to the left edge.
        std::optional<Box> seen;
        ASSERT_TRUE(poll_until([&] {
            seen = ScreenImage::capture().drawn_bounds();
            return seen && seen->right > 40 + kPortraitInsideWidth;
        })) << "the picture does not move, trail "
            << trail;
        if (trail) {
            EXPECT_GT(seen->width(), kPortraitInsideWidth + 30) << "no trail with --trail";
            EXPECT_LE(seen->left, 3) << "the trail does not start at the left edge";
        } else {
            EXPECT_EQ(seen->width(), kPortraitInsideWidth) << "a trail with --no-trail";
        }
        saver.signal(SIGTERM);
        EXPECT_EQ(saver.wait_for_exit(), 0);
        window_.clear();  // the window keeps what the last copy drew
    }
}

// Each caption can be turned off on its own; only the quotation moves the picture, which
// without it stands exactly in the middle.
struct CaptionCase {
    const char* option;
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

class Captions : public FullWindow, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(Captions, ShowOnlyWhereTheirOptionAllows) {
    const CaptionCase& c = GetParam();
    Saver saver({"--window-id", window_.id_text(), "--mode", "still-quote", "--still-speed", "800",
                 c.option});
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
    saver.signal(SIGTERM);
    EXPECT_EQ(saver.wait_for_exit(), 0);
}

INSTANTIATE_TEST_SUITE_P(Toggles, Captions,
                         ::testing::Values(CaptionCase{"--title", true, true, true, true},
                                           CaptionCase{"--no-title", false, true, true, true},
                                           CaptionCase{"--no-quote", true, false, true, true},
                                           CaptionCase{"--no-studio", true, true, false, true},
                                           CaptionCase{"--no-year", true, true, true, false}),
                         [](const auto& info) {
                             std::string name = info.param.option + 2;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
}  // namespace vqx
