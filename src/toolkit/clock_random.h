// The platform's random-number generator: a fixed start state until the first re-seed.
// A re-seed mixes the clock into the generator's state rather than replacing the state with
// it: a clock that has not advanced since the last re-seed (on some systems it ticks only
// every 15.6 ms) still gives a new sequence.
#pragma once

#include <cstdint>
#include <functional>
#include <random>

#include "toolkit/services.h"

namespace tk {

class ClockRandom : public Random {
public:
    // The clock's reading in any unit; the system clock in nanoseconds unless a test gives one.
    using Clock = std::function<std::uint64_t()>;
    static std::uint64_t system_clock_now();

    explicit ClockRandom(Clock clock = system_clock_now) : clock_(std::move(clock)) {}

    double draw() override;
    void reseed() override;

private:
    Clock clock_;
    std::mt19937_64 engine_{};  // default-seeded: nothing seeds it at start-up
};

}  // namespace tk
