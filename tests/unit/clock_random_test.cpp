// The product's random generator under a clock that does not advance, as on a system whose
// clock ticks every 15.6 ms: re-seeds in a row still give new draws, and the Flasher's two
// re-seeded position draws place pictures all over the screen, not along its diagonal.
#include "toolkit/clock_random.h"

#include <set>

#include "program_fixture.h"

namespace {

constexpr std::uint64_t kFrozenTime = 133'000'000'000'000'000;

TEST(ClockRandom, ReseedsFromAClockThatHasNotAdvancedStillGiveNewDraws) {
    tk::ClockRandom random([] { return kFrozenTime; });
    std::set<double> draws;
    for (int i = 0; i < 200; ++i) {
        random.reseed();
        const double r = random.draw();
        ASSERT_TRUE(r >= 0 && r < 1) << r;
        draws.insert(r);
    }
    EXPECT_EQ(draws.size(), 200u);
}

class FlasherWithAFrozenClock : public ProgramFixture {};

TEST_F(FlasherWithAFrozenClock, PicturesLandAllOverTheScreenNotOnADiagonal) {
    tk::ClockRandom random([] { return kFrozenTime; });
    toolkit.use_random(random);
    toolkit.store().put("FlasherSpeed", "250");
    vq::frmMainScreenSaver& form = run_saver("2");
    const tk::Screen screen = toolkit.screen();

    int off_diagonal = 0;
    bool quadrant_hit[2][2] = {};
    constexpr int kPictures = 200;
    for (int i = 0; i < kPictures; ++i) {
        toolkit.advance(500);  // one hiding tick, which places the next picture
        const double room_x = screen.width_twips() - form.imgRandom1.width();
        const double room_y = screen.height_twips() - form.imgRandom1.height();
        const double fx = form.imgRandom1.left() / room_x;
        const double fy = form.imgRandom1.top() / room_y;
        ASSERT_TRUE(fx >= 0 && fx <= 1 && fy >= 0 && fy <= 1) << fx << ", " << fy;
        if (std::abs(fx - fy) > 0.1) ++off_diagonal;
        quadrant_hit[fx < 0.5 ? 0 : 1][fy < 0.5 ? 0 : 1] = true;
    }
    // Independent draws leave the band |fx - fy| <= 0.1 four times in five.
    EXPECT_GT(off_diagonal, kPictures / 2);
    EXPECT_TRUE(quadrant_hit[0][1] && quadrant_hit[1][0])
        << "no picture off the diagonal's quadrants";
}

}  // namespace
