// What a full-screen saver does the same way in every Linux session: it covers every monitor
// and hides the pointer; the mode runs on the primary, chosen with its settings by the
// options and the settings file; the first real input ends it, as the saver window ends on
// Windows; a second copy ends at once.
#include "support/full_screen.h"

#include <signal.h>

#include <cstdlib>

namespace vqtest {

void FullScreen::SetUp() {
    session_.restore_desktop();
    ASSERT_TRUE(poll_until([&] { return session_.desktop_shows(); }))
        << "the desktop is not shown before the test";
}

bool FullScreen::covered() const {
    const Pixels primary = session_.primary();
    const int w = primary.width(), h = primary.height();
    return primary.all({0, 0, w, 1}, kBlack) && primary.all({0, h - 1, w, h}, kBlack) &&
           primary.all({0, 0, 1, h}, kBlack) && primary.all({w - 1, 0, w, h}, kBlack) &&
           session_.rest_covered();
}

bool FullScreen::start(ChildProcess& saver) const {
    return poll_until([&] { return !saver.running() || covered(); }) && saver.running();
}

void FullScreen::park(int place) {
    session_.park(place);
    parked_ = true;
}

void FullScreen::expect_ended(ChildProcess& saver) const {
    EXPECT_EQ(saver.wait_for_exit(), 0);
    EXPECT_TRUE(poll_until([&] { return session_.desktop_shows(); })) << "the saver's windows stay";
    if (parked_) {
        EXPECT_TRUE(poll_until([&] { return !session_.pointer_hidden(); }))
            << "the pointer stays hidden";
    }
}

bool FullScreen::runs_on(ChildProcess& saver) const {
    // A program that reads every pending event before it draws its next frame has read an
    // input sent before the first of two frames drawn after it.
    auto last = session_.primary().drawn_bounds();
    int moves = 0;
    return poll_until([&] {
               const auto now = session_.primary().drawn_bounds();
               if (now && last && (now->left != last->left || now->top != last->top)) ++moves;
               last = now;
               return moves >= 2;
           }) &&
           saver.running();
}

namespace {

TEST_P(EndsOnInput, AndHidesThePointerUntilThen) {
    const InputCase& c = GetParam();
    park(c.place);
    const auto saver = session_.start({"--mode", c.mode}, std::nullopt);
    ASSERT_TRUE(start(*saver)) << "not every monitor is covered";
    EXPECT_TRUE(poll_until([&] { return session_.pointer_hidden(); })) << "the pointer shows";
    switch (c.input) {
        case Input::key:
            session_.key("Escape");
            break;
        case Input::button:
            session_.click(c.number);
            break;
        case Input::moves:
            // The first move, or appearing under the pointer, records where it is; a move of
            // less than 5 pixels each way from the last record records anew; 5 end it.
            for (const auto& [dx, dy] : {std::pair{1, 1}, {4, 4}, {4, -4}, {-4, 4}, {0, -4}}) {
                session_.move_by(dx, dy);
                ASSERT_TRUE(runs_on(*saver)) << "ended on the move by " << dx << ", " << dy;
            }
            session_.move_by(-5, 0);
            break;
        case Input::signal:
            saver->signal(c.number);
            break;
    }
    expect_ended(*saver);
}

TEST_F(FullScreen, ASecondCopyEndsAtOnceAndTheFirstRunsOn) {
    const auto first = session_.start({"--mode", "flasher"}, std::nullopt);
    ASSERT_TRUE(start(*first));
    const auto second = session_.start({"--mode", "drifter"}, std::nullopt);
    EXPECT_EQ(second->wait_for_exit(), 0);
    EXPECT_TRUE(start(*first)) << "the first copy no longer covers every monitor";
    session_.key("space");
    expect_ended(*first);
}

// Picture 41, the Drifter's default, shows 109 x 143 pixels inside its one-pixel black frame.
constexpr int kPortraitWidth = 109;
constexpr int kPortraitHeight = 143;

// The Drifter chosen by its options, and by a settings file and options whose values do not
// convert, which read as the settings' defaults: picture 41 from the primary's left edge,
// vertically centred, moving straight right without a trail.
struct DrifterCase {
    const char* name;
    const char* options;
    std::optional<std::string> settings;
    int first_left_at_most;  // its slowest pace stays within 4 pixels for two seconds
};

class Drifter : public FullScreen, public ::testing::WithParamInterface<DrifterCase> {};

TEST_P(Drifter, StartsAtThePrimarysLeftEdgeCentredAndMovesStraightRight) {
    const DrifterCase& c = GetParam();
    const auto saver = session_.start(words(c.options), c.settings);
    ASSERT_TRUE(start(*saver)) << "not every monitor is covered";
    const auto first = drawing_once(kAny);
    ASSERT_TRUE(first.has_value()) << "nothing drawn";
    EXPECT_LE(first->left, c.first_left_at_most);
    // Its frame, a row above, centred to within a pixel: where a half goes is the unit tests'.
    EXPECT_NEAR(2 * first->top + kPortraitHeight, session_.primary().height(), 1);
    EXPECT_EQ(first->width(), kPortraitWidth);
    EXPECT_EQ(first->height(), kPortraitHeight);
    const auto later = drawing_once(
        [&](const Box& r) { return r.left > first->left + 3 && r.width() == kPortraitWidth; });
    ASSERT_TRUE(later.has_value()) << "the picture does not move right without a trail";
    EXPECT_EQ(later->top, first->top) << "the first direction is straight right";
    EXPECT_TRUE(session_.rest_covered());
    session_.key("space");
    expect_ended(*saver);
}

const DrifterCase kDrifterCases[] = {
    {"options", "--mode drifter --drift-speed 500", std::nullopt, 4},
    {"hostile_file", "",
     "[Config]\nType=drifter\nDriftImage=99999\nDriftSpeed=-25\nDriftTrail=1e999\nFlasherSpeed=\n"
     "SQSpeed=0x10\nSQTitle=yes\n" +
         std::string(1 << 20, 'x') + "\nDriftImage\n=7\n[Config\nType=2\n",
     100},
    // The file's mode and pace are not taken for the options' bad values.
    {"options_that_do_not_convert", "--mode screensaver --drift-image 7 --drift-speed fast",
     "[Config]\nType=2\nDriftSpeed=5000\n", 100}};

INSTANTIATE_TEST_SUITE_P(Choices, Drifter, ::testing::ValuesIn(kDrifterCases), kRowName);

// Still & Quote chosen by its options, by the settings file, and by options over the file:
// the intro centred and wrapped within 3/4 of the width, then stills with the captions their
// settings allow, the studio and year always. Only the quotation moves the picture, which
// without it stands exactly in the middle. Which option turns off which caption is the unit
// tests' table.
struct StillCase {
    const char* name;
    const char* options;
    std::optional<std::string> settings;
    bool title, quote;
};

// The rows of the longest run in which a strip around x shows anything: a picture, told
// from the lines of text under it by the blank rows between them.
Box tallest_block(const Pixels& screen, int x) {
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

class StillAndQuote : public FullScreen, public ::testing::WithParamInterface<StillCase> {};

TEST_P(StillAndQuote, ShowsTheIntroThenStillsWithTheCaptionsAllowed) {
    const StillCase& c = GetParam();
    const auto saver = session_.start(words(c.options), c.settings);
    ASSERT_TRUE(start(*saver)) << "not every monitor is covered";
    const int w = session_.primary().width(), h = session_.primary().height();
    EXPECT_TRUE(drawing_once([&](const Box& r) {
        return std::abs((r.left + r.right) / 2 - w / 2) <= 4 &&
               std::abs((r.top + r.bottom) / 2 - h / 2) <= 4 && r.width() > 250 &&
               r.width() <= w * 3 / 4;
    })) << "no centred intro within 3/4 of the width";
    std::optional<Pixels> still;
    Box picture;
    // The still is up once a tall picture stands at the centre.
    ASSERT_TRUE(poll_until([&] {
        still = session_.primary();
        picture = tallest_block(*still, w / 2);
        return picture.height() > 200 && picture.height() < 400;
    })) << "no still";
    EXPECT_EQ(!still->all({0, 0, 300, 45}, kBlack), c.title) << "title";
    EXPECT_FALSE(still->all({0, h - 40, 250, h}, kBlack)) << "studio";
    EXPECT_FALSE(still->all({w - 100, h - 40, w, h}, kBlack)) << "year";
    const bool text_under_picture = !still->all({150, picture.bottom, w - 150, h - 45}, kBlack);
    EXPECT_EQ(text_under_picture, c.quote) << "quotation";
    const int centre_twice = picture.top + picture.bottom;
    if (c.quote)
        EXPECT_LT(centre_twice, h - 20) << "the picture and quotation are centred together";
    else
        EXPECT_NEAR(centre_twice, h, 2) << "the picture alone is centred";
    EXPECT_TRUE(session_.rest_covered());
    saver->signal(SIGTERM);
    expect_ended(*saver);
}

const StillCase kStillCases[] = {
    {"title", "--mode still-quote --still-speed 800 --title", std::nullopt, true, true},
    {"no_quote", "--mode still-quote --still-speed 800 --no-quote", std::nullopt, true, false},
    {"settings_file", "", "[Config]\r\nType=1\r\nSQSpeed=600\r\nSQTitle=0\r\n", false, true},
    // The file's pace would keep the intro up for a minute.
    {"options_over_the_file", "--mode still-quote --title --still-speed 600",
     "[Config]\nType=2\nSQSpeed=60000\nSQTitle=0\n", true, true}};

INSTANTIATE_TEST_SUITE_P(Choices, StillAndQuote, ::testing::ValuesIn(kStillCases), kRowName);

TEST_F(FullScreen, FlasherIsBlackThenShowsOnePictureThenBlackAgain) {
    const auto saver =
        session_.start({"--mode", "flasher", "--flasher-speed", "600"}, std::nullopt);
    ASSERT_TRUE(start(*saver)) << "not every monitor is covered";
    const auto black = [&] {
        const Pixels primary = session_.primary();
        return primary.all(primary.box(), kBlack);
    };
    ASSERT_TRUE(poll_until(black)) << "the primary is not black at first";
    const auto picture = drawing_once(kAny);
    ASSERT_TRUE(picture.has_value()) << "no picture";
    EXPECT_GE(picture->width(), 60);
    EXPECT_GE(picture->height(), 60);
    EXPECT_TRUE(session_.rest_covered());
    EXPECT_TRUE(poll_until(black)) << "the picture stays";
    session_.click(1);
    expect_ended(*saver);
}

}  // namespace
}  // namespace vqtest
