// The platform's random-number generator: a fixed start state until the first re-seed,
// then seeded from the system clock.
#pragma once

#include <random>

#include "toolkit/services.h"

namespace tk {

class ClockRandom : public Random {
public:
    double draw() override;
    void reseed() override;

private:
    std::mt19937_64 engine_{};  // default-seeded: nothing seeds it at start-up
};

}  // namespace tk
