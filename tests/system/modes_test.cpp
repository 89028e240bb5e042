// The three display modes on an 800 x 600 screen, judged from its pixels. A white backdrop
// lies under the saver, so every black pixel is one the saver drew.
#include <optional>

#include "driver/own_windows.h"
#include "driver/config_registry.h"
#include "driver/input.h"
#include "support/polling.h"
#include "driver/screen_image.h"
#include "driver/system_test.h"

namespace vqtest {
namespace {

// Picture 41, the Drifter's default: 111 x 145 pixels inside a one-pixel black frame, so
// what shows of it is 109 x 143. On 600 lines it starts at y = 228, its inside at 229.
constexpr int kPortraitInsideWidth = 109;
constexpr int kPortraitInsideTop = 229;
constexpr int kPortraitInsideBottom = 229 + 143;  // exclusive

class ModeTest : public SystemTest {
protected:
    void SetUp() override {
        SystemTest::SetUp();
        ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
        ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
        backdrop_.emplace();
    }
    SaverProcess& start_mode(const wchar_t* type) {
        config::set_text(L"Type", type);
        SaverProcess& saver = start(L"/s");
        EXPECT_TRUE(shows_one_window(saver));
        EXPECT_TRUE(poll_until(covers_the_backdrop, kStartTimeout)) << "the backdrop shows";
        return saver;
    }
    // No mode draws into the screen's corners at the start, so white there is the backdrop.
    static bool covers_the_backdrop() {
        const ScreenImage screen = ScreenImage::capture();
        const int right = screen.width() - 1;
        const int bottom = screen.height() - 1;
        return screen.pixel(0, 0) != kWhite && screen.pixel(right, 0) != kWhite &&
               screen.pixel(0, bottom) != kWhite && screen.pixel(right, bottom) != kWhite;
    }
    // The bounds of what is drawn, once `condition` holds for them.
    template <typename Condition>
    static std::optional<RECT> drawing_once(Condition&& condition) {
        return poll_for([] { return ScreenImage::capture().non_black_bounds(); }, condition,
                        kStartTimeout);
    }
    static int width(const RECT& r) { return r.right - r.left; }
    void end_with_a_key(SaverProcess& saver) {
        press_key(VK_SPACE);
        EXPECT_TRUE(ends_normally(saver));
    }

private:
    std::optional<Backdrop> backdrop_;
};

using DrifterMode = ModeTest;

TEST_F(DrifterMode, StartsAtTheLeftEdgeVerticallyCentredAndMovesRight) {
    config::set_text(L"DriftSpeed", L"500");  // two steps of one pixel a second
    SaverProcess& saver = start_mode(L"0");
    const auto first = drawing_once([](const RECT&) { return true; });
    ASSERT_TRUE(first.has_value()) << "nothing drawn";
    EXPECT_LE(first->left, 4);
    EXPECT_EQ(first->top, kPortraitInsideTop);
    EXPECT_EQ(first->bottom, kPortraitInsideBottom);
    EXPECT_EQ(width(*first), kPortraitInsideWidth);

    const auto later = drawing_once([&](const RECT& r) { return r.left > first->left; });
    ASSERT_TRUE(later.has_value()) << "the picture does not move right";
    EXPECT_EQ(later->top, kPortraitInsideTop) << "the first direction is straight right";
    end_with_a_key(saver);
}

TEST_F(DrifterMode, LeavesATrailOnlyWhenAskedTo) {
    config::set_text(L"DriftSpeed", L"10");
    {
        SaverProcess& saver = start_mode(L"0");
        const auto moved = drawing_once([](const RECT& r) { return r.left > 40; });
        ASSERT_TRUE(moved.has_value()) << "the picture does not move";
        EXPECT_EQ(width(*moved), kPortraitInsideWidth) << "a trail without DriftTrail";
        end_with_a_key(saver);
    }
    config::set_text(L"DriftTrail", L"1");
    SaverProcess& saver = start_mode(L"0");
    const auto trailed =
        drawing_once([](const RECT& r) { return width(r) > kPortraitInsideWidth + 40; });
    EXPECT_TRUE(trailed.has_value()) << "no trail with DriftTrail 1";
    end_with_a_key(saver);
}

using StillQuoteMode = ModeTest;

TEST_F(StillQuoteMode, ShowsTheCentredIntroThenAStillWithItsCaptionsInTheCorners) {
    config::set_text(L"SQSpeed", L"2000");
    SaverProcess& saver = start_mode(L"1");
    const auto intro = drawing_once([](const RECT&) { return true; });
    ASSERT_TRUE(intro.has_value()) << "no intro";
    EXPECT_NEAR((intro->left + intro->right) / 2, 400, 4);
    EXPECT_NEAR((intro->top + intro->bottom) / 2, 300, 4);
    EXPECT_LE(width(*intro), 600) << "the intro wraps within three quarters of the width";

    // The first still: the title at the top left, the year at the bottom right.
    std::optional<ScreenImage> still;
    const RECT title_corner{0, 0, 200, 40};
    ASSERT_TRUE(poll_until(
        [&] {
            still = ScreenImage::capture();
            return still->count_non_black(title_corner) > 0;
        },
        kStartTimeout))
        << "no title after the intro";
    EXPECT_GT(still->count_non_black({700, 570, 800, 600}), 0) << "no year";
    EXPECT_GT(still->count_non_black({0, 570, 200, 600}), 0) << "no studio";
    EXPECT_GT(still->count_non_black({390, 200, 410, 300}), 0) << "no still in the middle";
    const RECT drawn = *still->non_black_bounds();
    EXPECT_GT(drawn.left, 0);
    EXPECT_LT(drawn.right, 800);
    end_with_a_key(saver);
}

using FlasherMode = ModeTest;

TEST_F(FlasherMode, IsBlackAtFirstThenShowsOnePictureOnTheScreenThenBlackAgain) {
    config::set_text(L"FlasherSpeed", L"1000");  // black for two seconds, then one on, one off
    SaverProcess& saver = start_mode(L"2");
    EXPECT_TRUE(poll_until([] { return ScreenImage::capture().all_black(); }, kStartTimeout))
        << "the screen is not black at first";

    const auto picture = drawing_once([](const RECT&) { return true; });
    ASSERT_TRUE(picture.has_value()) << "no picture";
    EXPECT_GE(width(*picture), 60);
    EXPECT_GE(picture->bottom - picture->top, 60);
    EXPECT_GE(picture->left, 0);
    EXPECT_GE(picture->top, 0);
    EXPECT_LE(picture->right, 800);
    EXPECT_LE(picture->bottom, 600);

    EXPECT_TRUE(poll_until([] { return ScreenImage::capture().all_black(); }, kStartTimeout))
        << "the picture stays";
    end_with_a_key(saver);
}

}  // namespace
}  // namespace vqtest
