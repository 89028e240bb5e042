// The saver window: set-up, the exit on input in both coordinate units, and the pointer.
#include "program_fixture.h"

namespace {

class SaverWindow : public ProgramFixture {};

using Input = void (*)(tk::Form&);

TEST_F(SaverWindow, LoadsBlackTopMostOverTheScreenWithThePointerHidden) {
    vq::frmMainScreenSaver& form = run_saver("3");  // no mode: the plain black window
    EXPECT_TRUE(form.visible());
    EXPECT_TRUE(saver_peer().topmost());
    EXPECT_EQ(form.back_color(), tk::kBlack);
    EXPECT_DOUBLE_EQ(form.width(), 12000);
    EXPECT_DOUBLE_EQ(form.height(), 9000);
    EXPECT_TRUE(form.key_preview());
    EXPECT_EQ(toolkit.cursor_count(), -1);
    for (const tk::Timer* timer : form.timers()) EXPECT_FALSE(timer->running()) << timer->name();
    EXPECT_EQ(toolkit.store().reads(), std::vector<std::string>{"Type"});
    EXPECT_EQ(saver_peer().pixel(400, 300), tk::kBlack);
    EXPECT_TRUE(form.covers().empty()) << "one monitor, no covers";
    EXPECT_EQ(toolkit.loaded_form_count(), 1);
}

// The primary monitor and two others: one to its left, one above and to the right, upright.
const std::vector<tk::Monitor> kMonitors = {
    {0, 0, 800, 600, true}, {-1024, 0, 1024, 768, false}, {800, -600, 1080, 1920, false}};

// On one monitor or three, in the saver window or a cover, in every mode.
TEST_F(SaverWindow, AKeyOrAPressAnywhereClosesEveryWindowShowsThePointerAndEndsTheProgram) {
    const Input inputs[] = {
        [](tk::Form& f) { f.raise_key_down('A', 0); },
        [](tk::Form& f) { f.raise_key_press('a'); },
        [](tk::Form& f) { f.raise_mouse_down(1, 0, 10, 10); },
        [](tk::Form& f) { f.raise_click(); },
        [](tk::Form& f) { f.raise_dbl_click(); },
    };
    for (const Input input : inputs) {
        for (const char* type : {"0", "1", "2", "7"}) {
            for (const bool on_a_cover : {false, true}) {
                SCOPED_TRACE(std::string("Type ") + type + (on_a_cover ? " on a cover" : ""));
                ProgramRun one;
                if (on_a_cover) one.toolkit.set_monitors(kMonitors);
                vq::frmMainScreenSaver& form = one.run_saver(type);
                tk::Form& target = on_a_cover ? *form.covers()[1] : static_cast<tk::Form&>(form);
                input(target);
                EXPECT_FALSE(form.loaded());
                for (const auto& cover : form.covers()) EXPECT_FALSE(cover->loaded());
                EXPECT_TRUE(one.toolkit.ended());
                // More input after the close, and time passing, change nothing.
                input(target);
                one.toolkit.advance(1000);
                EXPECT_EQ(one.toolkit.cursor_count(), 0);
                EXPECT_EQ(one.saver_peer().pictures_drawn(), 0);
                EXPECT_TRUE(one.toolkit.store().writes().empty());
            }
        }
    }
}

// Moves in pixels of the client area, and whether the window is still open after each.
struct MoveScript {
    const char* type;
    std::vector<std::pair<double, double>> moves;
    std::vector<bool> open_after;
};

TEST_F(SaverWindow, MouseMovesCloseOnlyFiveUnitsFromTheLastRecordedPosition) {
    const MoveScript scripts[] = {
        // Drifter works in pixels.
        {"0", {{100, 100}, {104, 104}, {108, 108}, {113, 108}}, {true, true, true, false}},
        {"0", {{100, 100}, {100, 95}}, {true, false}},
        // The other modes work in twips: one pixel is 15 twips.
        {"1", {{100, 100}, {101, 100}}, {true, false}},
        {"2", {{100, 100}, {100, 101}}, {true, false}},
        {"9", {{100, 100}, {100.2, 100.2}, {101, 100}}, {true, true, false}},
        // A first position at the corner is recorded as (0, 0): the next move only records.
        {"0", {{0, 0}, {50, 50}, {60, 60}}, {true, true, false}},
        {"1", {{0, 0}, {3, 3}, {4, 3}}, {true, true, false}},
    };
    for (const MoveScript& script : scripts) {
        ProgramRun one;
        vq::frmMainScreenSaver& form = one.run_saver(script.type);
        for (std::size_t i = 0; i < script.moves.size(); ++i) {
            form.raise_mouse_move(0, 0, script.moves[i].first, script.moves[i].second);
            EXPECT_EQ(form.loaded(), script.open_after[i])
                << "Type " << script.type << " move " << i;
        }
    }
}

TEST_F(SaverWindow, PositionsBeyondSixteenBitsAreRecordedWithoutOverflow) {
    toolkit.set_screen({3840, 2160, 96});  // 57600 twips wide
    vq::frmMainScreenSaver& form = run_saver("1");
    form.raise_mouse_move(0, 0, 3000, 2000);
    EXPECT_EQ(form.LastMouse.LastMouseX, 45000);
    EXPECT_EQ(form.LastMouse.LastMouseY, 30000);
    form.raise_mouse_move(0, 0, 3000, 2000);
    EXPECT_TRUE(form.loaded());
    form.raise_mouse_move(0, 0, 3001, 2000);
    EXPECT_FALSE(form.loaded());
}

TEST_F(SaverWindow, EveryOtherMonitorGetsABlackCoverWhereAMoveClosesTheSaver) {
    toolkit.set_monitors(kMonitors);
    vq::frmMainScreenSaver& form = run_saver("1");
    ASSERT_EQ(form.covers().size(), 2u);
    const vq::MonitorCover& left = *form.covers()[0];
    vq::MonitorCover& portrait = *form.covers()[1];
    EXPECT_DOUBLE_EQ(left.left(), -1024 * 15);
    EXPECT_DOUBLE_EQ(left.width(), 1024 * 15);
    EXPECT_DOUBLE_EQ(portrait.top(), -600 * 15);
    EXPECT_DOUBLE_EQ(portrait.height(), 1920 * 15);
    for (const auto& cover : form.covers()) {
        EXPECT_TRUE(headless::HeadlessToolkit::peer_of(*cover).topmost());
        EXPECT_EQ(cover->back_color(), tk::kBlack);
    }
    EXPECT_DOUBLE_EQ(form.width(), 12000);  // the modes keep the primary screen's geometry
    EXPECT_EQ(toolkit.cursor_count(), -1);

    portrait.raise_mouse_move(0, 0, 500, 900);
    portrait.raise_mouse_move(0, 0, 501, 900);  // 15 twips from the recorded position
    EXPECT_FALSE(form.loaded());
    EXPECT_FALSE(portrait.loaded());
    EXPECT_TRUE(toolkit.ended());
    EXPECT_EQ(toolkit.cursor_count(), 0);
}

}  // namespace
