// The saver's start under contention. Ten saver starts at the same moment: one of them shows
// the saver, the nine others end at once and normally, and the survivor ends on the first
// key like any saver. Floods of pointer moves and key presses while the saver starts and
// while it closes: the saver closes exactly once and normally, with never more than its one
// window, and shows the pointer again exactly as often as it hid it.
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "driver/input.h"
#include "driver/saver_diagnostics.h"
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

constexpr int kBurstEvents = 300;

using InputBurst = SystemTest;

TEST_F(InputBurst, ClosesOnceAndNormally) {
    const SaverDiagnostics diagnostics;
    // The first burst runs from the launch until the saver's window has shown.
    std::atomic<bool> window_seen{false};
    std::thread burster([&] {
        do send_input_burst(kBurstEvents);
        while (!window_seen);
    });
    SaverProcess& saver = start(L"/s");
    // From then until it ends, never more than its one window.
    size_t most = 0;
    const auto most_windows = [&] { return most = std::max(most, saver.visible_windows().size()); };
    poll_until([&] { return most_windows() > 0 || !saver.running(); });
    window_seen = true;
    burster.join();

    // The start-up burst may already have closed it; if not, a key and a second burst do.
    if (saver.running()) {
        press_key(VK_SPACE);
        send_input_burst(kBurstEvents);
    }
    poll_until([&] { return most_windows() > 1 || !saver.running(); });
    EXPECT_LE(most, 1u);
    ASSERT_TRUE(ends_normally(saver));
    // Each close shows the pointer once: a second close would leave the count below zero.
    const auto counts = diagnostics.counts();
    ASSERT_TRUE(counts.contains("pointer_hide")) << "the saver wrote no counts";
    EXPECT_EQ(counts.at("pointer_hide").live, 0) << "hidings of the pointer not undone";
    EXPECT_EQ(counts.at("pointer_hide").peak, 1);
}

}  // namespace
}  // namespace vqtest
