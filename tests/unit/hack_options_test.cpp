#include "platform/linux/hack_options.h"

#include <gtest/gtest.h>

#include <map>
#include <ranges>

namespace vq::hack {
namespace {

std::vector<std::string_view> split(std::string_view line) {
    std::vector<std::string_view> words;
    for (const auto word : std::views::split(line, ' ')) {
        if (!word.empty()) words.emplace_back(word.begin(), word.end());
    }
    return words;
}

// The settings an option line sets, the last value of each key.
std::map<std::string, std::string> settings_of(std::string_view line) {
    const ParseResult parsed = ParseHackOptions(split(line));
    EXPECT_EQ(parsed.error, "") << line;
    std::map<std::string, std::string> settings;
    for (const auto& [key, value] : parsed.options.settings) settings[key] = value;
    return settings;
}

TEST(HackOptions, EachOptionSetsItsKeyWithOneDashOrTwoAndAValueApartOrAfterAnEqualsSign) {
    const struct {
        const char* line;
        const char* key;
        const char* stored;
    } cases[] = {
        {"--mode drifter", "Type", "0"},
        {"-mode still-quote", "Type", "1"},
        {"--mode=Flasher", "Type", "2"},
        // Any other mode is stored as written and reads like a bad stored value.
        {"--mode 2", "Type", "2"},
        {"--mode slideshow", "Type", "slideshow"},
        {"--drift-image 44", "DriftImage", "44"},
        {"-drift-speed=10", "DriftSpeed", "10"},
        {"--drift-speed fast", "DriftSpeed", "fast"},
        {"--flasher-speed 250", "FlasherSpeed", "250"},
        {"--still-speed -5", "SQSpeed", "-5"},
        {"--trail", "DriftTrail", "1"},
        {"-no-trail", "DriftTrail", "0"},
        {"--title", "SQTitle", "1"},
        {"--no-title", "SQTitle", "0"},
        {"-quote", "SQQuote", "1"},
        {"--no-quote", "SQQuote", "0"},
        {"--studio", "SQStudio", "1"},
        {"--no-studio", "SQStudio", "0"},
        {"--year", "SQYear", "1"},
        {"-no-year", "SQYear", "0"},
        {"--trail --no-trail", "DriftTrail", "0"},
        {"--mode flasher --mode drifter", "Type", "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(settings_of(c.line), (std::map<std::string, std::string>{{c.key, c.stored}}))
            << c.line;
}

TEST(HackOptions, WindowIdsAreDecimalOrHexAndNeverZeroOrBeyondThirtyTwoBits) {
    const struct {
        const char* text;
        std::optional<std::uint32_t> id;
    } cases[] = {
        {"4194311", 4194311u},         {"0x400007", 0x400007u},      {"0X2b", 0x2Bu},
        {"0xFFFFFFFF", 0xFFFFFFFFu},   {"0", std::nullopt},          {"0x", std::nullopt},
        {"0x100000000", std::nullopt}, {"4294967296", std::nullopt}, {"12a", std::nullopt},
        {"-5", std::nullopt},          {"", std::nullopt},           {" 5", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseWindowId(c.text), c.id) << c.text;

    const ParseResult given = ParseHackOptions(split("-window-id 0x1a00005 --mode flasher"));
    EXPECT_EQ(given.error, "");
    EXPECT_EQ(given.options.window_id, 0x1a00005u);
    EXPECT_FALSE(given.options.root);
    EXPECT_FALSE(given.options.fullscreen);
}

TEST(HackOptions, PlacesAndHelpAreFlags) {
    EXPECT_TRUE(ParseHackOptions(split("--root")).options.root);
    EXPECT_TRUE(ParseHackOptions(split("-root")).options.root);
    EXPECT_TRUE(ParseHackOptions(split("--fullscreen")).options.fullscreen);
    EXPECT_TRUE(ParseHackOptions(split("--wayland")).options.wayland);
    EXPECT_TRUE(ParseHackOptions(split("-x11")).options.x11);
    EXPECT_TRUE(ParseHackOptions(split("--help")).options.help);
    EXPECT_TRUE(ParseHackOptions(split("-h")).options.help);
    EXPECT_TRUE(ParseHackOptions(split("--measure")).options.measure);
    EXPECT_TRUE(ParseHackOptions(split("--config")).options.config);
    const ParseResult none = ParseHackOptions({});
    EXPECT_EQ(none.error, "");
    EXPECT_FALSE(none.options.root || none.options.fullscreen || none.options.help ||
                 none.options.measure || none.options.config || none.options.window_id);
    EXPECT_TRUE(none.options.settings.empty());
}

TEST(HackOptions, AnythingElseIsAnErrorThatNamesIt) {
    const struct {
        const char* line;
        const char* named;
    } cases[] = {
        {"--speed 5", "--speed"},
        {"--mode flasher --fps", "--fps"},
        {"flasher", "flasher"},
        {"-", "-"},
        {"--drift-speed", "--drift-speed"},
        {"--window-id", "--window-id"},
        {"--window-id 0x0", "0x0"},
        {"--window-id root", "root"},
        {"--root=1", "--root"},
        {"--trail=0", "--trail"},
        {"--no-mode", "--no-mode"},
        {"--no-fullscreen", "--no-fullscreen"},
        {"--measure=1", "--measure"},
        {"--wayland=1", "--wayland"},
        {"--config=1", "--config"},
        {"--x11 --wayland", "--wayland"},
    };
    for (const auto& c : cases) {
        const ParseResult parsed = ParseHackOptions(split(c.line));
        EXPECT_NE(parsed.error.find(c.named), std::string::npos)
            << c.line << " gave: " << parsed.error;
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << "one line: " << parsed.error;
    }
}

TEST(HackOptions, TheUsageNamesEveryOption) {
    const std::string usage = Usage();
    for (const char* option :
         {"--window-id",     "--root",        "--fullscreen",  "--wayland",  "--x11",
          "--mode",          "--drift-image", "--drift-speed", "--trail",    "--no-trail",
          "--flasher-speed", "--still-speed", "--title",       "--no-title", "--quote",
          "--no-quote",      "--studio",      "--no-studio",   "--year",     "--no-year",
          "--measure",       "--help"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace vq::hack
