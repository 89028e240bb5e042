// What the saver reads from HKCU\Software\VQ_Saver\Config, seen from outside: the stored
// mode decides the unit of the mouse-move test (twips for Still & Quote, pixels for the
// Drifter); values the program never writes still give a working saver; and a saver run
// leaves the store as it found it.
#include <optional>
#include <string>
#include <vector>

#include "driver/config_registry.h"
#include "driver/input.h"
#include "driver/system_test.h"

namespace vqtest {
namespace {

struct StoredValue {
    std::wstring name;
    DWORD type;
    std::vector<BYTE> bytes;
};

StoredValue text(std::wstring name, const std::wstring& value) {
    const auto* bytes = reinterpret_cast<const BYTE*>(value.c_str());
    return {std::move(name), REG_SZ, {bytes, bytes + (value.size() + 1) * sizeof(wchar_t)}};
}

void store(const std::vector<StoredValue>& values) {
    for (const StoredValue& value : values) config::set_raw(value.name, value.type, value.bytes);
}

struct ModeCase {
    std::string name;
    std::vector<StoredValue> stored;
    std::vector<PointerStep> steps;  // from the parked pointer at (0, 0)
};

class SettingsRead : public SystemTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(SettingsRead, TypeDecidesWhetherAOnePixelMoveEndsTheSaver) {
    store(GetParam().stored);
    SaverProcess& saver = start(L"/s");
    ASSERT_TRUE(shows_one_window(saver));
    expect_pointer_steps(saver, GetParam().steps);
}

// One pixel is 15 twips at 96 dots per inch: past the 5-unit threshold in twips, below it
// in pixels.
const std::vector<PointerStep> kOnePixelEnds{{{300, 300}, false}, {{301, 300}, true}};
const std::vector<PointerStep> kOnePixelDoesNotEnd{
    {{300, 300}, false}, {{301, 300}, false}, {{306, 300}, true}};

INSTANTIATE_TEST_SUITE_P(
    Modes, SettingsRead,
    ::testing::Values(ModeCase{"still_quote_twips", {text(L"Type", L"1")}, kOnePixelEnds},
                      ModeCase{"drifter_pixels", {text(L"Type", L"0")}, kOnePixelDoesNotEnd},
                      ModeCase{"nothing_stored_is_drifter", {}, kOnePixelDoesNotEnd},
                      ModeCase{"not_a_number_is_drifter", {text(L"Type", L"abc")},
                               kOnePixelDoesNotEnd}),
    [](const auto& info) { return info.param.name; });

struct HandEditCase {
    std::string name;
    std::vector<StoredValue> stored;
};

class HandEditedSettings : public SystemTest,
                           public ::testing::WithParamInterface<HandEditCase> {};

// Whatever the store holds, the saver shows its window, keeps running and ends on a key.
TEST_P(HandEditedSettings, StillGiveAWorkingSaver) {
    store(GetParam().stored);
    SaverProcess& saver = start(L"/s");
    ASSERT_TRUE(shows_one_window(saver));
    EXPECT_TRUE(keeps_running(saver));
    press_key(VK_SPACE);
    EXPECT_TRUE(ends_normally(saver));
}

INSTANTIATE_TEST_SUITE_P(
    Values, HandEditedSettings,
    ::testing::Values(
        HandEditCase{"type_empty", {text(L"Type", L"")}},
        HandEditCase{"type_beyond_16_bits", {text(L"Type", L"99999")}},
        HandEditCase{"type_negative", {text(L"Type", L"-1")}},
        HandEditCase{"type_as_dword", {{L"Type", REG_DWORD, {1, 0, 0, 0}}}},
        HandEditCase{"type_as_binary", {{L"Type", REG_BINARY, {0xFF, 0xFE, 0x00}}}},
        HandEditCase{"type_text_without_terminator", {{L"Type", REG_SZ, {'1'}}}},
        HandEditCase{"drifter_speed_zero", {text(L"Type", L"0"), text(L"DriftSpeed", L"0")}},
        HandEditCase{"drifter_speed_negative",
                     {text(L"Type", L"0"), text(L"DriftSpeed", L"-25")}},
        HandEditCase{"drifter_speed_beyond_32_bits",
                     {text(L"Type", L"0"), text(L"DriftSpeed", L"4294967296")}},
        HandEditCase{"drifter_image_missing",
                     {text(L"Type", L"0"), text(L"DriftImage", L"7")}},
        HandEditCase{"drifter_trail_huge", {text(L"Type", L"0"), text(L"DriftTrail", L"1e308")}},
        HandEditCase{"flasher_speed_zero", {text(L"Type", L"2"), text(L"FlasherSpeed", L"0")}},
        HandEditCase{"still_quote_speed_negative",
                     {text(L"Type", L"1"), text(L"SQSpeed", L"-1")}}),
    [](const auto& info) { return info.param.name; });

using SettingsUntouched = SystemTest;

TEST_F(SettingsUntouched, SaverRunWritesNothing) {
    SaverProcess& saver = start(L"/s");
    ASSERT_TRUE(shows_one_window(saver));
    press_key(VK_SPACE);
    ASSERT_TRUE(ends_normally(saver));
    EXPECT_FALSE(config::key_exists());

    config::set_text(L"Type", L"1");
    SaverProcess& second = start(L"/s");
    ASSERT_TRUE(shows_one_window(second));
    press_key(VK_SPACE);
    ASSERT_TRUE(ends_normally(second));
    EXPECT_EQ(config::value_names(), std::vector<std::wstring>{L"Type"});
    EXPECT_EQ(config::read_text(L"Type"), std::optional<std::wstring>(L"1"));
}

}  // namespace
}  // namespace vqtest
