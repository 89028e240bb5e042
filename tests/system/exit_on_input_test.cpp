// The saver ends on the first real input: any key, any mouse press, a move of 5 or more
// units after the first recorded one. The store is fresh, so the saver runs its default
// mode, the Drifter, whose coordinate unit is the pixel.
#include <string>
#include <vector>

#include "driver/config_registry.h"
#include "driver/input.h"
#include "driver/system_test.h"

namespace vqtest {
namespace {

struct KeyCase {
    std::string name;
    WORD virtual_key;
};

class ExitOnKey : public SystemTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(ExitOnKey, EndsTheSaver) {
    SaverProcess& saver = start(L"/s");
    ASSERT_TRUE(shows_one_window(saver));
    press_key(GetParam().virtual_key);
    EXPECT_TRUE(ends_normally(saver));
}

// Alt and F10 reach a window as system keys, not as ordinary ones.
INSTANTIATE_TEST_SUITE_P(Keys, ExitOnKey,
                         ::testing::Values(KeyCase{"space", VK_SPACE}, KeyCase{"letter_a", 'A'},
                                           KeyCase{"escape", VK_ESCAPE},
                                           KeyCase{"shift", VK_SHIFT},
                                           KeyCase{"alt", VK_MENU}, KeyCase{"f10", VK_F10}),
                         [](const auto& info) { return info.param.name; });

struct ButtonCase {
    std::string name;
    MouseButton button;
};

class ExitOnMousePress : public SystemTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(ExitOnMousePress, EndsTheSaver) {
    SaverProcess& saver = start(L"/s");
    ASSERT_TRUE(shows_one_window(saver));
    click(GetParam().button);
    EXPECT_TRUE(ends_normally(saver));
}

INSTANTIATE_TEST_SUITE_P(Buttons, ExitOnMousePress,
                         ::testing::Values(ButtonCase{"left", MouseButton::Left},
                                           ButtonCase{"right", MouseButton::Right},
                                           ButtonCase{"middle", MouseButton::Middle}),
                         [](const auto& info) { return info.param.name; });

struct MoveCase {
    std::string name;
    std::vector<PointerStep> steps;  // from the parked pointer at (0, 0)
};

class ExitOnMouseMove : public SystemTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(ExitOnMouseMove, EndsOnlyOnAMoveOfFivePixelsFromTheLastRecord) {
    config::set_text(L"Type", L"0");
    SaverProcess& saver = start(L"/s");
    ASSERT_TRUE(shows_one_window(saver));
    expect_pointer_steps(saver, GetParam().steps);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, ExitOnMouseMove,
    ::testing::Values(
        // The first move is only recorded, however far it goes.
        MoveCase{"first_move_records_then_five_across",
                 {{{300, 300}, false}, {{305, 300}, true}}},
        MoveCase{"first_move_records_then_five_down", {{{300, 300}, false}, {{300, 305}, true}}},
        MoveCase{"five_back_to_the_left", {{{300, 300}, false}, {{295, 302}, true}}},
        // Each move of 4 becomes the new record, so the pointer can creep away without
        // ending the saver; only a step of 5 from the last record does.
        MoveCase{"four_pixel_steps_creep_on",
                 {{{300, 300}, false},
                  {{304, 304}, false},
                  {{308, 300}, false},
                  {{312, 296}, false},
                  {{316, 300}, false},
                  {{321, 300}, true}}},
        MoveCase{"one_pixel_steps_creep_on",
                 {{{300, 300}, false},
                  {{301, 300}, false},
                  {{302, 301}, false},
                  {{303, 302}, false},
                  {{304, 303}, false},
                  {{305, 304}, false},
                  {{306, 305}, false},
                  {{311, 305}, true}}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vqtest
