#include "toolkit/clock_random.h"

#include <chrono>

namespace tk {

// The top 53 bits as a fraction: uniform in [0, 1) and never 1.
double ClockRandom::draw() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

void ClockRandom::reseed() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    engine_.seed(static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

}  // namespace tk
