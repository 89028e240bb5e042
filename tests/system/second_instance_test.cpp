// A second start while the saver runs ends at once and leaves the running saver alone.
#include <string>

#include "driver/input.h"
#include "driver/system_test.h"

namespace vqtest {
namespace {

struct SecondStart {
    std::string name;
    std::wstring arguments;
};

class SecondInstance : public SystemTest, public ::testing::WithParamInterface<SecondStart> {};

TEST_P(SecondInstance, EndsAtOnceWhileTheSaverRuns) {
    SaverProcess& first = start(L"/s");
    ASSERT_TRUE(shows_one_window(first));

    SaverProcess& second = start(GetParam().arguments);
    const auto watched = second.watch_until_exit(kExitTimeout);
    EXPECT_FALSE(watched.showed_window);
    ASSERT_TRUE(watched.exit_code.has_value()) << "the second start is still running";
    EXPECT_EQ(*watched.exit_code, 0u);

    EXPECT_EQ(first.visible_windows().size(), 1u);
    press_key(VK_SPACE);
    EXPECT_TRUE(ends_normally(first));
}

INSTANTIATE_TEST_SUITE_P(Starts, SecondInstance,
                         ::testing::Values(SecondStart{"saver", L"/s"},
                                           SecondStart{"configuration", L"/c"}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vqtest
