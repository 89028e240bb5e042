// A window smaller than the monitor holding it, as a settings panel's preview hands over,
// shows a miniature of that monitor (one of the monitor's size, the screen itself one to one,
// is the Placement suite's); a miniature resized is laid out again at once and its mode
// goes on, clean. Run on a 1920 x 1080 screen.
#include <gtest/gtest.h>

#include <cstdlib>

#include "driver.h"

namespace vqx {
namespace {

// What shows of the Drifter's default picture inside its black frame, and where its top
// stands on a 1080-pixel screen: (1080 - 145) / 2 rounded half to even, plus the frame.
constexpr int kInsideWidth = 109;
constexpr int kInsideHeight = 143;
constexpr int kInsideTop = 469;

class Miniature : public ::testing::Test {
  protected:
    void SetUp() override { whiten_root(); }
};

TEST_F(Miniature, StillAndQuoteFitsWhollyInASettingsPanelsPreview) {
    TestWindow window({40, 60, 674, 416});  // 634 x 356
    Saver saver({"--window-id", window.id_text(), "--mode", "still-quote", "--still-speed", "300"});
    const Box& b = window.box();
    // The quotation stands under the still in the middle third of the width; below it the
    // window stays black to its bottom edge, where a quotation laid out at full size ran off.
    const Box title_corner{b.left, b.top, b.left + 100, b.top + 20};
    const Box under_quotation{b.left + b.width() / 3, b.bottom - 6, b.right - b.width() / 3,
                              b.bottom};
    int frames = 0;
    EXPECT_TRUE(poll_until([&] {
        const ScreenImage screen = ScreenImage::capture();
        // Not yet taken, or still the intro before the stills.
        if (!screen.corners_black(b) || screen.all(title_corner, kBlack)) return false;
        EXPECT_TRUE(screen.all(under_quotation, kBlack)) << "frame " << frames;
        EXPECT_FALSE(screen.all({b.right - 40, b.bottom - 12, b.right, b.bottom}, kBlack))
            << "no year in the corner, frame " << frames;
        return ++frames >= 40;
    })) << "no still after the intro";
}

// A resized window starts clean in the back colour, as on Windows, and is used whole at once
// at its new size: the trail drawn so far (asked for) is gone, and the Drifter goes on from
// where it was.
TEST_F(Miniature, AResizedWindowStartsCleanAndWholeAndTheDrifterGoesOn) {
    TestWindow window({0, 0, 634, 356});
    Saver saver(
        {"--window-id", window.id_text(), "--mode", "drifter", "--drift-speed", "20", "--trail"});
    double scale = 634 / 1920.0;
    // The picture and its trail, once the window is black to its corners, the picture at
    // `scale`, its right edge at least `right` pixels of the screen the miniature shows.
    auto drawing_to = [&](double right) {
        std::optional<Box> seen;
        const bool found = poll_until([&] {
            const ScreenImage screen = ScreenImage::capture();
            seen = screen.drawn_bounds(window.box());
            return screen.corners_black(window.box()) && seen &&
                   std::abs(seen->height() - kInsideHeight * scale) <= 2 &&
                   seen->right / scale >= right;
        });
        return found ? seen : std::nullopt;
    };
    const auto trail = drawing_to(60 + kInsideWidth);
    ASSERT_TRUE(trail.has_value()) << "the picture does not reach 60 pixels to the right";
    ASSERT_LE(trail->left, 1) << "no trail from the left edge";
    double right = trail->right / scale;
    for (const auto& [width, height] : {std::pair{960, 540}, std::pair{480, 270}}) {
        SCOPED_TRACE(width);
        window.resize(width, height);
        scale = width / 1920.0;
        const auto seen = drawing_to(right - 8);
        ASSERT_TRUE(seen.has_value()) << "the window is not used whole at the new size";
        EXPECT_GT(seen->left / scale, right - kInsideWidth - 8) << "the trail stays";
        EXPECT_NEAR(seen->top, kInsideTop * scale, 2);
        right = seen->right / scale;
        EXPECT_TRUE(saver.running());
    }
}

}  // namespace
}  // namespace vqx
