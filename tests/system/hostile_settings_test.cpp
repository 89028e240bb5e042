// A store edited by hand with values the dialogs never write, in every key at once: the
// saver still starts in each mode, runs, ends on a key and writes nothing. The values are
// those the registry itself can hold wrongly (types, sizes, a missing terminator or key) and
// timer intervals Windows treats specially; what the program and its dialogs make of every
// other text is the unit tests' (tests/unit/hostile_settings_test.cpp, config_test.cpp).
// The dialogs read the store through the same registry code as the saver.
#include <string>
#include <vector>

#include "driver/config_registry.h"
#include "driver/input.h"
#include "driver/system_test.h"

namespace vqtest {
namespace {

const std::vector<std::wstring> kKeys = {L"Type",     L"DriftSpeed",  L"DriftImage", L"DriftTrail",
                                         L"SQSpeed",  L"SQTitle",     L"SQQuote",    L"SQYear",
                                         L"SQStudio", L"FlasherSpeed"};

struct HostileValue {
    const char* name;
    DWORD type;
    std::vector<BYTE> bytes;  // empty with `missing`
    bool missing = false;     // no Config key at all

    friend void PrintTo(const HostileValue& value, std::ostream* out) { *out << value.name; }
};

HostileValue text(const char* name, const std::wstring& value) {
    const auto* bytes = reinterpret_cast<const BYTE*>(value.c_str());
    return {name, REG_SZ, {bytes, bytes + (value.size() + 1) * sizeof(wchar_t)}};
}

class HostileSettings : public SystemTest, public ::testing::WithParamInterface<HostileValue> {};

TEST_P(HostileSettings, TheSaverRunsInEveryModeAndWritesNothing) {
    const HostileValue& value = GetParam();
    // No Type of its own first: the Type itself hostile, which gives the default mode.
    for (const std::wstring type : {L"", L"0", L"1", L"2"}) {
        SCOPED_TRACE("Type " + narrow(type));
        // Every key holds the hostile value.
        config::delete_all();
        for (const std::wstring& key : kKeys) {
            if (!value.missing) config::set_raw(key, value.type, value.bytes);
        }
        if (!type.empty()) config::set_text(L"Type", type);
        const std::vector<std::wstring> before = config::value_names();
        SaverProcess& saver = start(L"/s");
        ASSERT_TRUE(shows_saver(saver));
        EXPECT_TRUE(keeps_running(saver));
        press_key(VK_SPACE);
        ASSERT_TRUE(ends_normally(saver));
        EXPECT_EQ(config::value_names(), before) << "the saver changed the store";
        if (value.missing && type.empty()) {
            EXPECT_FALSE(config::key_exists()) << "the saver made the Config key";
        }
        if (!type.empty()) {
            EXPECT_EQ(config::read_text(L"Type"), type);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, HostileSettings,
    ::testing::Values(text("empty", L""), text("letters", L"abc"),
                      HostileValue{"zero", REG_SZ, {'0', 0, 0, 0}}, text("minus_one", L"-1"),
                      text("exponent", L"1e9"),
                      text("one_mebibyte", std::wstring(512 * 1024, L'7')),
                      HostileValue{"no_terminator", REG_SZ, {'a', 0, 'b', 0, 'c', 0}},
                      HostileValue{"dword", REG_DWORD, {1, 0, 0, 0}},
                      HostileValue{"binary", REG_BINARY, {0xFF, 0xFE, 0x00}},
                      HostileValue{"no_config_key", REG_NONE, {}, true}),
    [](const ::testing::TestParamInfo<HostileValue>& info) { return info.param.name; });

}  // namespace
}  // namespace vqtest
