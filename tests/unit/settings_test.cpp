#include "settings/settings.h"

#include <gtest/gtest.h>

#include "platform/headless/memory_settings.h"

namespace vq {
namespace {

// Whatever a reader makes of a key, it starts from the same default: nothing stored, a text
// that does not convert and a text that is no number at all read alike.
TEST(Settings, EveryReaderOfAKeyGivesTheKeysDefault) {
    for (const SettingKey& key : keys::kAll) {
        for (const char* stored : {static_cast<const char*>(nullptr), "", "fast", "&H10"}) {
            headless::MemorySettings store;
            if (stored != nullptr) store.put(key.name, stored);
            const std::string context = std::string(key.name) + " = " + (stored ? stored : "none");
            EXPECT_EQ(ReadInt16(store, key), key.default_value) << context;
            EXPECT_EQ(ReadAnyInt16(store, key), key.default_value) << context;
            EXPECT_EQ(ReadInterval(store, key), key.default_value) << context;
            EXPECT_EQ(ReadDouble(store, key), key.default_value) << context;
            EXPECT_EQ(ReadTruth(store, key), key.default_value != 0) << context;
            EXPECT_TRUE(store.writes().empty());
        }
    }
}

TEST(Settings, RangedReadsKeepTheKeysRangeAndAnyReadsTakeEvery16BitValue) {
    headless::MemorySettings store;
    const struct {
        const char* text;
        tk::Int16 ranged;
        tk::Int16 any;
    } cases[] = {{"44", 44, 44}, {"99999", 41, 41}, {"44.5", 44, 44}, {"9", 41, 9}, {"-3", 41, -3}};
    for (const auto& c : cases) {
        store.put("DriftImage", c.text);
        EXPECT_EQ(ReadInt16(store, keys::DriftImage), c.ranged) << c.text;
        EXPECT_EQ(ReadAnyInt16(store, keys::DriftImage), c.any) << c.text;
    }
}

}  // namespace
}  // namespace vq
