// Floods of pointer moves and key presses while the saver starts and while it closes: the
// saver closes exactly once and normally, with never more than its one window, and shows the
// pointer again exactly as often as it hid it.
#include <algorithm>
#include <atomic>
#include <thread>

#include "driver/input.h"
#include "driver/saver_diagnostics.h"
#include "driver/system_test.h"
#include "support/polling.h"

namespace vqtest {
namespace {

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
