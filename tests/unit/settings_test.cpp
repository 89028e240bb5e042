#include "settings/settings.h"

#include <gtest/gtest.h>

#include "platform/headless/memory_settings.h"

namespace vq {
namespace {

TEST(Settings, ReadGivesTheStoredTextOrTheDefaultAndNeverCreatesAnEntry) {
    headless::MemorySettings store;
    EXPECT_EQ(ReadSetting(store, "Type", "0"), "0");
    EXPECT_EQ(store.value("Type"), std::nullopt);
    store.put("Type", "2");
    EXPECT_EQ(ReadSetting(store, "Type", "0"), "2");
    EXPECT_TRUE(store.writes().empty());
}

TEST(Settings, WritesTheDecimalTextUnderTheProgramsSection) {
    headless::MemorySettings store;
    WriteSetting(store, "SQSpeed", tk::Int16{5000});
    WriteSetting(store, "Type", tk::Int16{0});
    EXPECT_EQ(store.get("VQ_Saver", "Config", "SQSpeed"), "5000");
    EXPECT_EQ(store.value("Type"), "0");
}

TEST(Settings, TypedReadersFallBackToTheirDefaultForTextThatDoesNotFit) {
    headless::MemorySettings store;
    EXPECT_EQ(ReadInt16(store, "DriftImage", 41), 41);
    const struct {
        const char* text;
        tk::Int16 expected;
    } cases[] = {{"44", 44}, {"abc", 41}, {"", 41}, {"99999", 41}, {"44.5", 44}, {"9", 41}};
    for (const auto& c : cases) {
        store.put("DriftImage", c.text);
        EXPECT_EQ(ReadInt16(store, "DriftImage", 41, 10, 500), c.expected) << c.text;
    }
}

TEST(Settings, IntervalsTakeAnyNonNegative32BitValue) {
    headless::MemorySettings store;
    const struct {
        const char* text;
        tk::Int32 expected;
    } cases[] = {{"0", 0}, {"10", 10}, {"1e9", 1000000000}, {"-1", 25}, {"2147483648", 25},
                 {"fast", 25}};
    for (const auto& c : cases) {
        store.put("DriftSpeed", c.text);
        EXPECT_EQ(ReadInterval(store, "DriftSpeed", 25), c.expected) << c.text;
    }
}

TEST(Settings, TruthAndDoubleReadersFallBackToo) {
    headless::MemorySettings store;
    EXPECT_TRUE(ReadTruth(store, "SQTitle", true));
    store.put("SQTitle", "0");
    EXPECT_FALSE(ReadTruth(store, "SQTitle", true));
    store.put("SQTitle", "maybe");
    EXPECT_TRUE(ReadTruth(store, "SQTitle", true));
    store.put("DriftTrail", "0.5");
    EXPECT_EQ(ReadDouble(store, "DriftTrail", 0), 0.5);
    store.put("DriftTrail", "&H1");
    EXPECT_EQ(ReadDouble(store, "DriftTrail", 0), 0);
}

}  // namespace
}  // namespace vq
