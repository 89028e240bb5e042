#include "toolkit/clock_random.h"

#include <chrono>

namespace tk {
namespace {

// A bijective 64-bit mix (splitmix64's finaliser): nearby inputs give unrelated outputs.
std::uint64_t mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

}  // namespace

std::uint64_t ClockRandom::system_clock_now() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

// The top 53 bits as a fraction: uniform in [0, 1) and never 1.
double ClockRandom::draw() {
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

// The next output of the current state and the clock together seed the new state.
void ClockRandom::reseed() {
    engine_.seed(mix(engine_() ^ mix(clock_())));
}

}  // namespace tk
