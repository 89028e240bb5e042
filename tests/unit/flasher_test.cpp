// Flasher: hiding and showing ticks alternate, no picture follows itself, every place lies
// wholly on the screen.
#include "program_fixture.h"

namespace {

using Flasher = ProgramFixture;

TEST_F(Flasher, TheScreenStaysBlackForTwoIntervalsThenEachPictureShowsForOne) {
    vq::frmMainScreenSaver& form = run_saver("2");
    EXPECT_EQ(form.tmrRandom1.interval(), 2000);
    toolkit.advance(1999);
    EXPECT_EQ(form.FlashPicture, 0);
    toolkit.advance(1);  // 2000: chosen and placed, out of sight
    EXPECT_NE(form.FlashPicture, 0);
    EXPECT_FALSE(form.imgRandom1.visible());
    EXPECT_TRUE(form.FlashHidden);
    toolkit.advance(1999);
    EXPECT_FALSE(form.imgRandom1.visible());
    toolkit.advance(1);  // 4000: shown
    EXPECT_TRUE(form.imgRandom1.visible());
    toolkit.advance(2000);  // 6000: hidden again, the next one prepared
    EXPECT_FALSE(form.imgRandom1.visible());
    toolkit.advance(2000);
    EXPECT_TRUE(form.imgRandom1.visible());
}

TEST_F(Flasher, PicturesDrawWithoutReseedAndPositionsAfterOne) {
    toolkit.store().put("FlasherSpeed", "250");
    vq::frmMainScreenSaver& form = run_saver("2");
    headless::ScriptedRandom& random = toolkit.scripted_random();
    random.script({0.0, 0.5, 0.5});  // picture 1, then its left and top
    toolkit.advance(250);
    EXPECT_EQ(form.FlashPicture, 1);
    EXPECT_EQ(form.LastFlashPicture, 1);
    EXPECT_EQ(random.log(), "DRDRD");
    const auto first = toolkit.resources().load_bitmap(21);
    EXPECT_DOUBLE_EQ(form.imgRandom1.width(), first->width_px() * 15);
    EXPECT_DOUBLE_EQ(form.imgRandom1.height(), first->height_px() * 15);

    // A draw of the picture just shown is drawn again until another comes: 1, 1, then 25.
    random.script({0.01, 0.02, 0.999, 0.5, 0.5});
    toolkit.advance(500);
    EXPECT_EQ(form.FlashPicture, 25);
    EXPECT_EQ(random.log(),
              "DRDRD"
              "DDDRDRD");
}

TEST_F(Flasher, PlacesLieWhollyOnTheScreenAtBothEndsOfTheRange) {
    const struct {
        tk::Screen screen;
        double r;
        double left;
        double top;
    } cases[] = {
        // Picture 21 is 240 x 294 pixels: 3600 x 4410 twips.
        {{800, 600, 96}, 0.0, 0, 0},
        {{800, 600, 96}, 0.99999999, 8400, 4590},
        {{3840, 2160, 96}, 0.99999999, 57600 - 3600, 32400 - 4410},
        {{2560, 1440, 144}, 0.99999999, 25600 - 2400, 14400 - 2940},
    };
    for (const auto& c : cases) {
        ProgramRun one(c.screen);
        const vq::frmMainScreenSaver& form = one.run_saver("2");
        one.toolkit.scripted_random().script({0.0, c.r, c.r});
        one.toolkit.advance(2000);
        EXPECT_DOUBLE_EQ(form.imgRandom1.left(), c.left) << c.screen.width_px;
        EXPECT_DOUBLE_EQ(form.imgRandom1.top(), c.top) << c.screen.width_px;
        EXPECT_LE(form.imgRandom1.left() + form.imgRandom1.width(), c.screen.width_twips());
        EXPECT_LE(form.imgRandom1.top() + form.imgRandom1.height(), c.screen.height_twips());
    }
}

}  // namespace
