#include "settings/conversions.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace vq {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    const struct {
        double in;
        double out;
    } cases[] = {{2.5, 2},    {3.5, 4},   {227.5, 228}, {226.5, 226}, {0.5, 0},
                 {1.5, 2},    {-0.5, -0}, {-1.5, -2},   {-2.5, -2},   {2.4999, 2},
                 {2.5001, 3}, {-2.6, -3}, {7, 7},       {0, 0}};
    for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

TEST(ToWholeNumber, ConvertsPlainDecimalTextAndRejectsEverythingElse) {
    const struct {
        const char* text;
        std::optional<int> int16;
        std::optional<long long> int32;
    } converted[] = {
        {"0", 0, 0},
        {"41", 41, 41},
        {"-5", -5, -5},
        {"+7", 7, 7},
        {"  25  ", 25, 25},
        {"2.5", 2, 2},
        {"3.5", 4, 4},
        {"-2.5", -2, -2},
        {".5", 0, 0},
        {"1.", 1, 1},
        {"1e3", 1000, 1000},
        {"1E+2", 100, 100},
        {"32767", 32767, 32767},
        {"-32768", -32768, -32768},
        {"32767.5", std::nullopt, 32768},  // rounds to 32768: out of 16-bit range
        {"32768", std::nullopt, 32768},
        {"-32769", std::nullopt, -32769},
        {"1e9", std::nullopt, 1000000000},
        {"2147483647", std::nullopt, 2147483647},
    };
    for (const auto& c : converted) {
        EXPECT_EQ(ToInt16(c.text), c.int16) << '"' << c.text << '"';
        EXPECT_EQ(ToInt32(c.text), c.int32) << '"' << c.text << '"';
    }
    for (const char* text :
         {"2147483648", "-2147483649", "1e400", "", "   ", "abc", "12abc", "0x10", "&H10", "1,5",
          "1 2", "\t5", "inf", "nan", "-", ".", "1e", "--1"}) {
        EXPECT_EQ(ToInt16(text), std::nullopt) << '"' << text << '"';
        EXPECT_EQ(ToInt32(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(ToDouble, KeepsFractionsAndRejectsNonNumbers) {
    EXPECT_EQ(ToDouble("0.5"), 0.5);
    EXPECT_EQ(ToDouble(" -1.25 "), -1.25);
    EXPECT_EQ(ToDouble("1e9"), 1e9);
    EXPECT_EQ(ToDouble("True"), std::nullopt);
    EXPECT_EQ(ToDouble(std::string(1 << 20, '9')), std::nullopt);  // overflows to infinity
}

TEST(ToTruth, NonzeroNumbersAndTheTruthWordsConvert) {
    const struct {
        const char* text;
        std::optional<bool> value;
    } cases[] = {{"1", true},           {"0", false},       {"2", true},
                 {"-1", true},          {"0.0", false},     {"0.4", true},
                 {"True", true},        {"false", false},   {" TRUE ", true},
                 {"yes", std::nullopt}, {"", std::nullopt}, {"Tru", std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(ToTruth(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
}  // namespace vq
