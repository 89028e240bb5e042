// When a timer's next tick is due, on any clock in one unit: one interval after the last was
// due, so that a late dispatch does not delay every later tick; when the program fell
// behind by whole intervals, the first due time still ahead (the missed ticks are dropped,
// as a window timer's are, and the phase is kept).
#pragma once

#include <cstdint>

namespace vq::hack {

constexpr std::int64_t NextTickDue(std::int64_t was_due, std::int64_t interval, std::int64_t now) {
    if (interval <= 0) return now;
    std::int64_t next = was_due + interval;
    if (next <= now) next += ((now - next) / interval + 1) * interval;
    return next;
}

}  // namespace vq::hack
