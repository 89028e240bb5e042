// Which command lines start the saver and which end the program at once.
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

INSTANTIATE_TEST_SUITE_P(
    Switches, CommandLine,
    ::testing::Values(SwitchCase{"lower_s", L"/s", Opens::Saver},
                      SwitchCase{"upper_S", L"/S", Opens::Saver},
                      SwitchCase{"spaces_around", L" /s ", Opens::Saver},
                      SwitchCase{"S_and_a_number", L"/S 123", Opens::Saver},
                      SwitchCase{"s_and_more_letters", L"/sx", Opens::Saver},
                      SwitchCase{"s_colon_number", L"/s:77", Opens::Saver},
                      SwitchCase{"lone_slash", L"/", Opens::Nothing},
                      SwitchCase{"s_without_slash", L"s", Opens::Nothing},
                      SwitchCase{"dash_s", L"-s", Opens::Nothing},
                      SwitchCase{"preview_with_handle", L"/p 1234", Opens::Nothing},
                      SwitchCase{"unknown_a", L"/a", Opens::Nothing},
                      SwitchCase{"tab_before_s", L"\t/s", Opens::Nothing}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vqtest
