// The saver ends on the first real input: any key, any mouse press, a move of 5 or more
// units after the first recorded one. The store is fresh unless a case stores a mode.
#include <optional>
#include <string>
#include <vector>

#include "driver/config_registry.h"
#include "driver/input.h"
#include "driver/system_test.h"

namespace vqtest {
namespace {

// A key, a mouse button, or moves of the pointer and whether each ends the saver.
struct InputCase {
    std::string name;
    WORD key = 0;
    std::optional<MouseButton> button{};
    std::vector<PointerStep> steps{};
    const wchar_t* type = nullptr;  // the stored mode
};

class ExitOnInput : public SystemTest, public ::testing::WithParamInterface<InputCase> {};

TEST_P(ExitOnInput, EndsTheSaverOnRealInputOnly) {
    const InputCase& input = GetParam();
    if (input.type != nullptr) config::set_text(L"Type", input.type);
    SaverProcess& saver = start(L"/s");
    ASSERT_TRUE(shows_saver(saver));
    if (!input.steps.empty()) {
        expect_pointer_steps(saver, input.steps);
        return;
    }
    if (input.button)
        click(*input.button);
    else
        press_key(input.key);
    EXPECT_TRUE(ends_normally(saver));
}

// A modifier alone, Alt and F10, which reach a window as system keys, and each mouse button;
// every saver a system test starts ends on an ordinary key.
//
// Most moves begin with one pixel from the parked pointer at (0, 0) to (1, 1). Whether the
// system reported (0, 0) when the window appeared or not, (1, 1) is then the record: as the
// first move, or as a move too short to end the saver, which becomes the new record. The
// stored mode decides the unit: Still & Quote counts in twips, 15 to the pixel at 96 dpi,
// the Drifter (also when nothing is stored) in pixels; those cases start from a first move.
INSTANTIATE_TEST_SUITE_P(
    KeysButtonsAndMoves, ExitOnInput,
    ::testing::Values(
        InputCase{.name = "shift", .key = VK_SHIFT}, InputCase{.name = "alt", .key = VK_MENU},
        InputCase{.name = "f10", .key = VK_F10},
        InputCase{.name = "left", .button = MouseButton::Left},
        InputCase{.name = "right", .button = MouseButton::Right},
        InputCase{.name = "middle", .button = MouseButton::Middle},
        InputCase{.name = "one_pixel_ends_still_quote",
                  .steps = {{{300, 300}, false}, {{301, 300}, true}},
                  .type = L"1"},
        InputCase{.name = "five_pixels_with_nothing_stored",
                  .steps = {{{300, 300}, false}, {{301, 300}, false}, {{306, 300}, true}}},
        InputCase{.name = "five_back_to_the_left",
                  .steps = {{{1, 1}, false}, {{5, 5}, false}, {{0, 6}, true}},
                  .type = L"0"},
        // Each move of 4 becomes the new record, so the pointer can creep away without
        // ending the saver; only a step of 5 from the last record, straight across, does.
        InputCase{.name = "four_pixel_steps_creep_on",
                  .steps = {{{1, 1}, false},
                            {{5, 5}, false},
                            {{9, 1}, false},
                            {{13, 5}, false},
                            {{17, 1}, false},
                            {{22, 1}, true}},
                  .type = L"0"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vqtest
