// Floods of pointer moves and key presses while the saver starts and while it closes: the
// saver closes exactly once and normally, with never more than its one window.
#include <algorithm>
#include <atomic>
#include <thread>

#include "driver/input.h"
#include "driver/system_test.h"

namespace vqtest {
namespace {

constexpr int kBurstEvents = 300;

using InputBurst = SystemTest;

// Waits for the end of `saver`, counting its visible windows meanwhile; the most seen at once.
size_t most_windows_until_exit(const SaverProcess& saver) {
    size_t most = 0;
    poll_until(
        [&] {
            most = std::max(most, saver.visible_windows().size());
            return !saver.running();
        },
        kExitTimeout);
    return most;
}

TEST_F(InputBurst, ClosesOnceAndNormally) {
    // The first burst runs from the launch until the saver's window has shown.
    std::atomic<bool> window_seen{false};
    std::thread burster([&] {
        do send_input_burst(kBurstEvents);
        while (!window_seen);
    });
    SaverProcess& saver = start(L"/s");
    const auto windows = saver.wait_for_windows(kStartTimeout);
    window_seen = true;
    burster.join();
    EXPECT_LE(windows.size(), 1u);

    // The start-up burst may already have closed it; if not, a key and a second burst do.
    if (saver.running()) {
        press_key(VK_SPACE);
        send_input_burst(kBurstEvents);
    }
    EXPECT_LE(most_windows_until_exit(saver), 1u);
    EXPECT_TRUE(ends_normally(saver));
}

}  // namespace
}  // namespace vqtest
