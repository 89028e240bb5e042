#include "platform/linux/tick_schedule.h"

#include <gtest/gtest.h>

namespace vq::hack {
namespace {

TEST(TickSchedule, TicksKeepTheirPhaseAndDropWhatTheyMissed) {
    const struct {
        const char* name;
        std::int64_t was_due, interval, now, next;
    } cases[] = {
        {"on time", 1000, 25, 1000, 1025},
        {"dispatched late, within the interval", 1000, 25, 1020, 1025},
        {"dispatched exactly one interval late", 1000, 25, 1025, 1050},
        {"three and a half intervals behind", 1000, 25, 1087, 1100},
        {"an interval the platform cannot take", 1000, 0, 1087, 1087},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NextTickDue(c.was_due, c.interval, c.now), c.next) << c.name;
}

}  // namespace
}  // namespace vq::hack
