// The three display modes, judged from the screen's pixels: on 800 x 600 and on the screens
// the environment gives the Screens runs (VQ_SCREEN_SIZE, "WxH"), at any DPI. A white
// backdrop lies under the saver, so every black pixel is one the saver drew.
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <optional>

#include "driver/config_registry.h"
#include "driver/input.h"
#include "driver/own_windows.h"
#include "driver/screen_image.h"
#include "driver/system_test.h"
#include "support/polling.h"

namespace vqtest {
namespace {

// Picture 41, the Drifter's default: 111 x 145 pixels inside a one-pixel black frame, so
// what shows of it is 109 x 143. It starts at y = (H - 145) / 2, halves to even, its inside
// one line lower; the Drifter works in whole pixels at any DPI.
constexpr int kPortraitInsideWidth = 109;
constexpr int kPortraitInsideHeight = 143;

class ModeTest : public SystemTest {
  protected:
    void SetUp() override {
        SystemTest::SetUp();
        screen_ = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        SIZE size{800, 600};
        if (const wchar_t* text = _wgetenv(L"VQ_SCREEN_SIZE"))
            std::swscanf(text, L"%ldx%ld", &size.cx, &size.cy);
        ASSERT_EQ(to_text(screen_), to_text({0, 0, size.cx, size.cy}));
        backdrop_.emplace();
    }
    // Starts the saver in a mode; returns once its one window covers the screen and the
    // backdrop.
    SaverProcess& start_mode(const wchar_t* type) {
        config::set_text(L"Type", type);
        SaverProcess& saver = start(L"/s");
        EXPECT_TRUE(shows_saver(saver));
        const auto windows = saver.visible_windows();
        EXPECT_TRUE(windows.size() == 1 && EqualRect(&windows.front().rect, &screen_))
            << "the saver's window does not cover exactly the screen";
        // No mode draws into the screen's corners at the start, so white there is the backdrop.
        EXPECT_TRUE(poll_until([&] {
            const ScreenImage screen = ScreenImage::capture();
            const int right = screen_.right - 1;
            const int bottom = screen_.bottom - 1;
            return screen.pixel(0, 0) != kWhite && screen.pixel(right, 0) != kWhite &&
                   screen.pixel(0, bottom) != kWhite && screen.pixel(right, bottom) != kWhite;
        })) << "the backdrop shows";
        return saver;
    }
    // The bounds of what is drawn, once `condition` holds for them.
    template <typename Condition>
    static std::optional<RECT> drawing_once(Condition&& condition) {
        return poll_for([] { return ScreenImage::capture().non_black_bounds(); }, condition);
    }
    static int width(const RECT& r) { return r.right - r.left; }
    void end_with_a_key(SaverProcess& saver) {
        press_key(VK_SPACE);
        EXPECT_TRUE(ends_normally(saver));
    }

    RECT screen_{};

  private:
    std::optional<Backdrop> backdrop_;
};

using DrifterMode = ModeTest;

TEST_F(DrifterMode, StartsAtTheLeftEdgeVerticallyCentredAndMovesRight) {
    config::set_text(L"DriftSpeed", L"500");  // two steps of one pixel a second
    SaverProcess& saver = start_mode(L"0");
    const auto first = drawing_once(kAny);
    ASSERT_TRUE(first.has_value()) << "nothing drawn";
    EXPECT_LE(first->left, 4);
    EXPECT_EQ(first->top, static_cast<LONG>(std::nearbyint((screen_.bottom - 145) / 2.0)) + 1);
    EXPECT_EQ(first->bottom - first->top, kPortraitInsideHeight);
    EXPECT_EQ(width(*first), kPortraitInsideWidth);

    const auto later = drawing_once([&](const RECT& r) { return r.left > first->left; });
    ASSERT_TRUE(later.has_value()) << "the picture does not move right";
    EXPECT_EQ(later->top, first->top) << "the first direction is straight right";
    EXPECT_EQ(width(*later), kPortraitInsideWidth) << "a trail without DriftTrail";
    end_with_a_key(saver);
}

TEST_F(DrifterMode, LeavesATrailWhenAskedTo) {
    config::set_text(L"DriftSpeed", L"10");
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
    const LONG w = screen_.right;
    const LONG h = screen_.bottom;
    const auto intro = drawing_once(kAny);
    ASSERT_TRUE(intro.has_value()) << "no intro";
    EXPECT_NEAR((intro->left + intro->right) / 2, w / 2, 4);
    EXPECT_NEAR((intro->top + intro->bottom) / 2, h / 2, 4);
    EXPECT_LE(width(*intro), w * 3 / 4) << "the intro wraps within three quarters of the width";

    // The first still: the title at the top left, the year at the bottom right.
    std::optional<ScreenImage> still;
    const RECT title_corner{0, 0, 200, 40};
    ASSERT_TRUE(poll_until([&] {
        still = ScreenImage::capture();
        return still->count_non_black(title_corner) > 0;
    })) << "no title after the intro";
    EXPECT_GT(still->count_non_black({w - 100, h - 30, w, h}), 0) << "no year";
    EXPECT_GT(still->count_non_black({0, h - 30, 200, h}), 0) << "no studio";
    EXPECT_GT(still->count_non_black({w / 2 - 10, h / 3, w / 2 + 10, h / 2}), 0)
        << "no still in the middle";
    const RECT drawn = *still->non_black_bounds();
    EXPECT_GT(drawn.left, 0);
    EXPECT_LT(drawn.right, w);
    end_with_a_key(saver);
}

using FlasherMode = ModeTest;

TEST_F(FlasherMode, IsBlackAtFirstThenShowsOnePictureOnTheScreenThenBlackAgain) {
    config::set_text(L"FlasherSpeed", L"1000");  // black for two seconds, then one on, one off
    SaverProcess& saver = start_mode(L"2");
    EXPECT_TRUE(poll_until([] { return ScreenImage::capture().all_black(); }))
        << "the screen is not black at first";

    const auto picture = drawing_once(kAny);
    ASSERT_TRUE(picture.has_value()) << "no picture";
    EXPECT_GE(width(*picture), 60);
    EXPECT_GE(picture->bottom - picture->top, 60);
    EXPECT_TRUE(contains(screen_, *picture)) << "drawn at " << to_text(*picture);

    EXPECT_TRUE(poll_until([] { return ScreenImage::capture().all_black(); }))
        << "the picture stays";
    end_with_a_key(saver);
}

}  // namespace
}  // namespace vqtest
