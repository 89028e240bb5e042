// Drifter: the path, the turns at the edges, the trail read from the drawn pixels.
#include "platform/headless/headless_picture.h"
#include "program_fixture.h"

namespace {

class Drifter : public ProgramFixture {
  protected:
    vq::frmMainScreenSaver& start() { return run_saver("0"); }
    void tick(int n = 1) { toolkit.advance(25LL * n); }

    // Whether all that is drawn lies in the picture's last copy.
    bool only_the_last_copy_drawn() {
        const vq::frmMainScreenSaver& form = saver();
        return inside(drawn().value(),
                      {form.DriftX, form.DriftY, form.DriftPicWidth, form.DriftPicHeight});
    }
};

TEST_F(Drifter, StartsAtTheLeftEdgeCentredAndTravelsRightToTheEdgeThenTurnsAfterAReseed) {
    vq::frmMainScreenSaver& form = start();
    EXPECT_EQ(form.DriftX, 0);
    EXPECT_EQ(form.DriftY, 228);  // (600 - 145) / 2 = 227.5, halves to even
    EXPECT_EQ(form.DriftStepY, 1);
    EXPECT_FALSE(form.picImage.visible());
    EXPECT_EQ(saver_peer().pictures_drawn(), 0);
    EXPECT_EQ(toolkit.store().reads(),
              (std::vector<std::string>{"Type", "DriftImage", "DriftTrail", "DriftSpeed"}));

    // It travels right to the edge, then draws a new direction after a reseed.
    tick();
    EXPECT_EQ(form.DriftX, 1);
    EXPECT_EQ(form.DriftY, 228);
    EXPECT_EQ(saver_peer().pictures_drawn(), 1);
    tick(688);
    EXPECT_EQ(form.DriftX, 689);
    EXPECT_EQ(toolkit.scripted_random().log(), "");

    toolkit.scripted_random().script({0.9});  // 7: down
    tick();
    EXPECT_EQ(form.DriftX, 689);  // a blocked move stays put but still draws
    EXPECT_EQ(form.DriftDirection, 7);
    EXPECT_EQ(toolkit.scripted_random().log(), "RD");
    EXPECT_EQ(saver_peer().pictures_drawn(), 690);
    tick();
    EXPECT_EQ(form.DriftY, 229);
}

TEST_F(Drifter, ABlockedDirectionIsDrawnAgainAtEveryTickUntilAnOpenOneComes) {
    // At the top-left corner only right (0), down and right (4) and down (7) are open.
    const bool open_at_top_left[8] = {true, false, false, false, true, false, false, true};
    for (tk::Int16 direction = 0; direction < 8; ++direction) {
        ProgramRun one;
        vq::frmMainScreenSaver& form = one.run_saver();
        form.DriftX = 0;
        form.DriftY = 0;
        form.DriftDirection = direction;
        one.toolkit.scripted_random().script({direction / 8.0});  // the same direction again
        one.toolkit.advance(25);
        const bool moved = form.DriftX != 0 || form.DriftY != 0;
        EXPECT_EQ(moved, open_at_top_left[direction]) << "direction " << direction;
        EXPECT_EQ(one.toolkit.scripted_random().reseeds(), moved ? 0 : 1)
            << "direction " << direction;
        EXPECT_EQ(form.DriftDirection, direction);
    }
}

TEST_F(Drifter, WithoutATrailOnlyOneCleanPictureIsEverVisible) {
    start();
    toolkit.scripted_random().script({0.6, 0.3, 0.8, 0.2, 0.55, 0.35});
    for (int i = 0; i < 12; ++i) {
        tick(80);
        ASSERT_TRUE(only_the_last_copy_drawn()) << "after " << (i + 1) * 80 << " ticks";
    }
}

TEST_F(Drifter, WithATrailEachTickLeavesAOnePixelLineOfThePicturesEdge) {
    toolkit.store().put("DriftTrail", "1");
    vq::frmMainScreenSaver& form = start();
    tick(50);
    EXPECT_EQ(form.DriftX, 100);
    // Moving right by two, each copy leaves its column 1 (inside the frame) behind.
    const auto picture = toolkit.resources().load_bitmap(41);
    const auto& source = static_cast<const headless::HeadlessPicture&>(*picture);
    for (int copy_x = 2; copy_x < 100; copy_x += 2) {
        for (int y = 1; y < 144; ++y)
            ASSERT_EQ(saver_peer().pixel(copy_x + 1, 228 + y), source.pixel(1, y)) << copy_x;
        ASSERT_EQ(saver_peer().pixel(copy_x, 228 + 1), tk::kBlack) << copy_x;
    }
    EXPECT_FALSE(only_the_last_copy_drawn());
}

TEST_F(Drifter, WithAnOddStartAndAStepOfTwoThePictureTurnsAtMinusOne) {
    toolkit.set_screen({800, 603, 96});
    toolkit.store().put("DriftTrail", "1");
    vq::frmMainScreenSaver& form = start();
    ASSERT_EQ(form.DriftY, 229);
    form.DriftDirection = 6;  // up
    tick(115);
    EXPECT_EQ(form.DriftY, -1);
    toolkit.scripted_random().script({0.0});
    tick();
    EXPECT_EQ(form.DriftY, -1);
    EXPECT_EQ(toolkit.scripted_random().reseeds(), 1);
}

// A timer of 0 never ticks, in this mode as in the others.
TEST_F(Drifter, ASpeedOfZeroLeavesTheWindowBlack) {
    toolkit.store().put("DriftSpeed", "0");
    start();
    toolkit.advance(60000);
    EXPECT_EQ(saver_peer().pictures_drawn(), 0);
    EXPECT_EQ(saver_peer().pixel(50, 300), tk::kBlack);
}

// In pixels every value is whole at every DPI: the window's size, the picture's, the start
// (H - h) / 2 with halves to even, and the turn at exactly W - w and H - h.
TEST(DrifterAtAnyDpi, PositionsAndSizesAreWholePixels) {
    const int dpis[] = {120, 144, 168};
    const tk::Size screens[] = {{800, 600}, {1366, 768}, {1600, 1201}, {2999, 1999}, {3000, 2000}};
    for (const int dpi : dpis) {
        for (const tk::Size& size : screens) {
            for (const char* image : {"41", "42", "43", "44", "45"}) {
                const int W = static_cast<int>(size.width);
                const int H = static_cast<int>(size.height);
                ProgramRun one({W, H, dpi});
                one.toolkit.store().put("DriftImage", image);
                vq::frmMainScreenSaver& form = one.run_saver();
                const int w = form.picImage.picture()->width_px();
                const int h = form.picImage.picture()->height_px();
                const std::string where = std::to_string(W) + "x" + std::to_string(H) + " at " +
                                          std::to_string(dpi) + " dpi, picture " + image;
                ASSERT_EQ(form.scale_width(), W) << where;
                ASSERT_EQ(form.scale_height(), H) << where;
                ASSERT_EQ(form.picImage.scale_width(), w) << where;
                ASSERT_EQ(form.picImage.scale_height(), h) << where;
                const int room = H - h;
                ASSERT_EQ(form.DriftY, room % 2 == 0 ? room / 2 : (room / 2 + (room / 2) % 2))
                    << where;

                // One step short of the bottom-right corner, moving down and right.
                form.DriftX = W - w - 1;
                form.DriftY = H - h - 1;
                form.DriftDirection = 4;
                one.toolkit.advance(25);
                ASSERT_EQ(form.DriftX, W - w) << where;
                ASSERT_EQ(form.DriftY, H - h) << where;
                one.toolkit.advance(25);
                ASSERT_EQ(one.toolkit.scripted_random().reseeds(), 1)
                    << where << ": no turn at the corner";
                // The last copy lies whole on the surface, its inner corner one pixel inside
                // the screen's.
                const headless::HeadlessFormPeer& surface = one.saver_peer();
                ASSERT_EQ(surface.surface_width(), W) << where;
                ASSERT_EQ(surface.surface_height(), H) << where;
                const auto& source =
                    static_cast<const headless::HeadlessPicture&>(*form.picImage.picture());
                ASSERT_EQ(surface.pixel(W - 2, H - 2), source.pixel(w - 2, h - 2)) << where;
            }
        }
    }
}

}  // namespace
