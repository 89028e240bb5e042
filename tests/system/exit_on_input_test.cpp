// The saver ends on the first real input: any key, any mouse press, a move of 5 or more
// units after the first recorded one. The store is fresh unless a case stores a mode.
#include <string>
#include <vector>

#include "driver/config_registry.h"
#include "driver/input.h"
#include "driver/system_test.h"

namespace vqtest {
namespace {

// A key, or with none a mouse button.
struct InputCase {
    std::string name;
    WORD key;
    MouseButton button = MouseButton::Left;
};

class ExitOnInput : public SystemTest, public ::testing::WithParamInterface<InputCase> {};

TEST_P(ExitOnInput, EndsTheSaver) {
    SaverProcess& saver = start(L"/s");
    ASSERT_TRUE(shows_one_window(saver));
    if (GetParam().key != 0)
        press_key(GetParam().key);
    else
        click(GetParam().button);
    EXPECT_TRUE(ends_normally(saver));
}

// An ordinary key, a modifier alone, Alt and F10, which reach a window as system keys, and
// each mouse button.
INSTANTIATE_TEST_SUITE_P(KeysAndButtons, ExitOnInput,
                         ::testing::Values(InputCase{"space", VK_SPACE},
                                           InputCase{"shift", VK_SHIFT}, InputCase{"alt", VK_MENU},
                                           InputCase{"f10", VK_F10},
                                           InputCase{"left", 0, MouseButton::Left},
                                           InputCase{"right", 0, MouseButton::Right},
                                           InputCase{"middle", 0, MouseButton::Middle}),
                         [](const auto& info) { return info.param.name; });

struct MoveCase {
    std::string name;
    std::vector<PointerStep> steps;
    const wchar_t* type = L"0";  // the stored mode; null for none
};

class ExitOnMouseMove : public SystemTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(ExitOnMouseMove, EndsOnlyOnAMoveOfFiveUnitsFromTheLastRecord) {
    if (GetParam().type != nullptr) config::set_text(L"Type", GetParam().type);
    SaverProcess& saver = start(L"/s");
    ASSERT_TRUE(shows_one_window(saver));
    expect_pointer_steps(saver, GetParam().steps);
}

// Most cases begin with one pixel from the parked pointer at (0, 0) to (1, 1). Whether the
// system reported (0, 0) when the window appeared or not, (1, 1) is then the record: as the
// first move, or as a move too short to end the saver, which becomes the new record. The
// stored mode decides the unit: Still & Quote counts in twips, 15 to the pixel at 96 dpi,
// the Drifter (also when nothing is stored) in pixels; those cases start from a first move.
INSTANTIATE_TEST_SUITE_P(
    Moves, ExitOnMouseMove,
    ::testing::Values(
        MoveCase{"five_across", {{{1, 1}, false}, {{6, 1}, true}}},
        MoveCase{"one_pixel_ends_still_quote", {{{300, 300}, false}, {{301, 300}, true}}, L"1"},
        MoveCase{"five_pixels_with_nothing_stored",
                 {{{300, 300}, false}, {{301, 300}, false}, {{306, 300}, true}},
                 nullptr},
        MoveCase{"five_back_to_the_left", {{{1, 1}, false}, {{5, 5}, false}, {{0, 6}, true}}},
        // Each move of 4 becomes the new record, so the pointer can creep away without
        // ending the saver; only a step of 5 from the last record does.
        MoveCase{"four_pixel_steps_creep_on",
                 {{{1, 1}, false},
                  {{5, 5}, false},
                  {{9, 1}, false},
                  {{13, 5}, false},
                  {{17, 1}, false},
                  {{22, 1}, true}}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vqtest
