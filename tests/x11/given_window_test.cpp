// An 800 x 600 window the program is given, judged from the screen's pixels. The modes
// themselves are proven full screen (support/full_screen_test.cpp), miniatures of the
// screen by the Miniature suite.
#include <gtest/gtest.h>
#include <signal.h>

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

// In a given window the Drifter shows one to one, and input belongs to whoever gave the
// window: it neither ends the program nor hides the pointer, and the picture moves on.
TEST_F(GivenWindow, TheDrifterShowsOneToOneAndTakesNoInput) {
    Saver saver(given({"--mode", "drifter", "--drift-speed", "100"}));
    const auto first = drawing_once(vqtest::kAny);
    ASSERT_TRUE(first.has_value()) << "nothing drawn";
    EXPECT_LE(first->left, 4);
    EXPECT_EQ(first->top, kPortraitInsideTop);
    EXPECT_EQ(first->width(), kPortraitInsideWidth);
    EXPECT_EQ(first->height(), kPortraitInsideHeight);

    move_pointer(20, 20);
    move_pointer(60, 60);
    click(1);
    press_key("space");
    EXPECT_FALSE(pointer_hidden());
    const auto later = drawing_once([&](const Box& r) { return r.left > first->left + 3; });
    ASSERT_TRUE(later.has_value()) << "the picture does not move right";
    EXPECT_EQ(later->top, first->top);
    EXPECT_TRUE(saver.running());
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

}  // namespace
}  // namespace vqx
