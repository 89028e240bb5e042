// Which command lines start the saver and which end the program at once, as the real
// program finds them after its quoted path: blanks around the switch, a number after it, a
// tab before it, a preview with no window's handle. How a switch is reduced (case, letters
// after it) is the unit tests' table; a preview in a window gone is the Preview suite's.
#include <string>

#include "driver/input.h"
#include "driver/system_test.h"

namespace vqtest {
namespace {

struct SwitchCase {
    std::string name;
    std::wstring arguments;
    bool opens_saver;  // or ends at once
};

class CommandLine : public SystemTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(CommandLine, OpensWhatTheSwitchAsksFor) {
    SaverProcess& run = start(GetParam().arguments);
    if (GetParam().opens_saver) {
        ASSERT_TRUE(shows_saver(run));
        press_key(VK_SPACE);
        EXPECT_TRUE(ends_normally(run));
    } else {
        EXPECT_TRUE(ends_at_once(run));
    }
}

INSTANTIATE_TEST_SUITE_P(Switches, CommandLine,
                         ::testing::Values(SwitchCase{"lower_s", L"/s", true},
                                           SwitchCase{"spaces_around", L" /s ", true},
                                           SwitchCase{"S_and_a_number", L"/S 123", true},
                                           SwitchCase{"unknown_a", L"/a", false},
                                           SwitchCase{"tab_before_s", L"\t/s", false},
                                           SwitchCase{"preview_of_window_0", L"/p 0", false},
                                           SwitchCase{"preview_of_junk", L"/p junk", false},
                                           SwitchCase{"preview_of_nothing", L"/p", false}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vqtest
