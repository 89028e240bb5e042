// Ten saver starts at the same moment: one of them shows the saver, the nine others end at
// once and normally, and the survivor ends on the first key like any saver.
#include <algorithm>
#include <vector>

#include "driver/input.h"
#include "driver/system_test.h"
#include "support/polling.h"

namespace vqtest {
namespace {

constexpr int kStarts = 10;

using StartRace = SystemTest;

TEST_F(StartRace, OneOfTenSimultaneousStartsShowsTheSaver) {
    std::vector<SaverProcess*> starts;
    for (int i = 0; i < kStarts; ++i) starts.push_back(&start(L"/s"));

    // The losers end on their own; the one still running then is the survivor.
    const auto ended = [&] {
        return std::count_if(starts.begin(), starts.end(),
                             [](const SaverProcess* run) { return !run->running(); });
    };
    EXPECT_TRUE(poll_until([&] { return ended() >= kStarts - 1; }))
        << ended() << " of " << kStarts << " starts ended";
    SaverProcess* survivor = nullptr;
    for (SaverProcess* run : starts) {
        if (const auto code = run->exit_code()) {
            EXPECT_EQ(*code, 0u) << "process " << run->id() << " ended with code " << *code;
            continue;
        }
        EXPECT_EQ(survivor, nullptr) << "two starts keep running";
        survivor = run;
    }
    ASSERT_NE(survivor, nullptr) << "none of the " << kStarts << " starts kept running";
    ASSERT_TRUE(shows_saver(*survivor));

    press_key(VK_SPACE);
    EXPECT_TRUE(ends_normally(*survivor));
}

}  // namespace
}  // namespace vqtest
