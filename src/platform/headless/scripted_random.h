// A random source whose draws a test scripts; it logs every draw and re-seed in order.
#pragma once

#include <deque>
#include <initializer_list>
#include <random>
#include <string>

#include "toolkit/services.h"

namespace headless {

class ScriptedRandom : public tk::Random {
public:
    // Values to hand out, in order, after those scripted before.
    void script(std::initializer_list<double> values);
    // The next scripted value; once the script has run out, values from a fixed-seed
    // generator, so that a loop that draws until it sees a new value always ends.
    double draw() override;
    void reseed() override;

    int draws() const { return draws_; }
    int reseeds() const { return reseeds_; }
    // One letter per call, in order: 'D' a draw, 'R' a re-seed.
    const std::string& log() const { return log_; }

private:
    std::deque<double> scripted_;
    std::mt19937_64 fallback_{12345};
    int draws_ = 0;
    int reseeds_ = 0;
    std::string log_;
};

}  // namespace headless
