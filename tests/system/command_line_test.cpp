// Which command lines start the saver and which end the program at once, as the real
// program finds them after its quoted path: blanks around the switch, a number after it, a
// tab before it. How a switch is reduced (case, letters after it) is the unit tests' table;
// a preview handle naming no window is the Preview suite's.
#include <string>

#include "driver/input.h"
#include "driver/system_test.h"

namespace vqtest {
namespace {

enum class Opens { Saver, Nothing };

struct SwitchCase {
    std::string name;
    std::wstring arguments;
    Opens opens;
};

class CommandLine : public SystemTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(CommandLine, OpensWhatTheSwitchAsksFor) {
    SaverProcess& run = start(GetParam().arguments);
    if (GetParam().opens == Opens::Saver) {
        ASSERT_TRUE(shows_one_window(run));
        const auto windows = run.wait_for_windows(kStartTimeout);
        EXPECT_EQ(to_text(windows.front().rect),
                  to_text({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
        press_key(VK_SPACE);
        EXPECT_TRUE(ends_normally(run));
    } else {
        const auto watched = run.watch_until_exit(kExitTimeout);
        EXPECT_FALSE(watched.showed_window);
        ASSERT_TRUE(watched.exit_code.has_value()) << "the program is still running";
        EXPECT_EQ(*watched.exit_code, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Switches, CommandLine,
                         ::testing::Values(SwitchCase{"lower_s", L"/s", Opens::Saver},
                                           SwitchCase{"spaces_around", L" /s ", Opens::Saver},
                                           SwitchCase{"S_and_a_number", L"/S 123", Opens::Saver},
                                           SwitchCase{"unknown_a", L"/a", Opens::Nothing},
                                           SwitchCase{"tab_before_s", L"\t/s", Opens::Nothing}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vqtest
