#include "platform/headless/scripted_random.h"

namespace headless {

void ScriptedRandom::script(std::initializer_list<double> values) {
    scripted_.insert(scripted_.end(), values.begin(), values.end());
}

double ScriptedRandom::draw() {
    ++draws_;
    log_ += 'D';
    if (scripted_.empty()) return static_cast<double>(fallback_() >> 11) * 0x1.0p-53;
    const double value = scripted_.front();
    scripted_.pop_front();
    return value;
}

void ScriptedRandom::reseed() {
    ++reseeds_;
    log_ += 'R';
}

}  // namespace headless
