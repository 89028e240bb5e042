// Fuzz target: any text a hand-edited store can hold, through every conversion and every
// typed reader. Each must return a defined value within its range, and the conversions
// must agree with one another.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/headless/memory_settings.h"
#include "settings/conversions.h"
#include "settings/settings.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const auto as_double = vq::ToDouble(text);
    const auto as16 = vq::ToInt16(text);
    const auto as32 = vq::ToInt32(text);
    const auto truth = vq::ToTruth(text);
    if (as16) require(as32 && *as32 == *as16);
    if (as32) require(as_double && vq::RoundHalfEven(*as_double) == *as32);
    if (as_double) require(truth && *truth == (*as_double != 0));
    if (as_double) {
        const double r = vq::RoundHalfEven(*as_double);
        require(r == std::floor(r));
        require(std::abs(r - *as_double) <= 0.5);
    }

    headless::MemorySettings store;
    for (const vq::SettingKey& key : vq::keys::kAll) {
        store.put(key.name, text);
        const tk::Int16 value = vq::ReadInt16(store, key);
        require(value >= key.min && value <= key.max);
        (void)vq::ReadAnyInt16(store, key);
        require(vq::ReadInterval(store, key) >= 0);
        const double d = vq::ReadDouble(store, key);
        require(d == d);  // never NaN
        (void)vq::ReadTruth(store, key);
    }
    return 0;
}
