// Waiting for something another process does: poll a condition until a deadline.
#pragma once

#include <chrono>
#include <thread>

namespace vqtest {

using std::chrono::milliseconds;

inline constexpr milliseconds kPollInterval{10};
// How long anything a program should do at once may take on a busy machine.
inline constexpr milliseconds kDeadline{10000};

// Calls `condition` until it answers true or `timeout` has passed; returns its last answer.
// The condition is always asked at least once, and once more after the deadline.
template <class Condition>
bool poll_until(Condition&& condition, milliseconds timeout = kDeadline) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return condition();
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
}

}  // namespace vqtest
