// A store edited by hand with values the dialogs never write, in every key at once: the
// saver still starts in each mode, runs, ends on a key and writes nothing; each options
// dialog still opens, shows the defaults and stores them on OK, and touches no other key.
// The values are those the registry itself can hold wrongly (types, sizes, a missing
// terminator or key) and timer intervals Windows treats specially; what the program makes
// of every other text is the unit tests' (tests/unit/hostile_settings_test.cpp).
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

const std::wstring kChooserCaption = L"The Vovozevu Velmarr ScreenSaver";

struct HostileValue {
    const char* name;
    DWORD type;
    std::vector<BYTE> bytes;  // empty with `missing`
    bool missing = false;     // no Config key at all
    bool dialogs = true;      // false: a value the dialogs write in some key (a 0)

    friend void PrintTo(const HostileValue& value, std::ostream* out) { *out << value.name; }
};

HostileValue text(const char* name, const std::wstring& value) {
    const auto* bytes = reinterpret_cast<const BYTE*>(value.c_str());
    return {name, REG_SZ, {bytes, bytes + (value.size() + 1) * sizeof(wchar_t)}};
}

// Every key holds the hostile value.
void store_everywhere(const HostileValue& value) {
    config::delete_all();
    if (value.missing) return;
    for (const std::wstring& key : kKeys) config::set_raw(key, value.type, value.bytes);
}

class HostileSettings : public SystemTest, public ::testing::WithParamInterface<HostileValue> {
  protected:
    void expect_a_working_saver(const std::wstring& type) {
        SCOPED_TRACE("Type " + narrow(type));
        store_everywhere(GetParam());
        if (!type.empty()) config::set_text(L"Type", type);
        const std::vector<std::wstring> before = config::value_names();
        SaverProcess& saver = start(L"/s");
        ASSERT_TRUE(shows_one_window(saver));
        EXPECT_TRUE(keeps_running(saver));
        press_key(VK_SPACE);
        ASSERT_TRUE(ends_normally(saver));
        EXPECT_EQ(config::value_names(), before) << "the saver changed the store";
        if (GetParam().missing && type.empty()) {
            EXPECT_FALSE(config::key_exists()) << "the saver made the Config key";
        }
        if (!type.empty()) {
            EXPECT_EQ(config::read_text(L"Type"), type);
        }
    }

    // Opens the options dialog `caption` through the chooser's option button `option`,
    // presses its OK and checks that exactly `stored` was written, on top of Type.
    void expect_defaults_stored(const wchar_t* option, const std::wstring& caption,
                                const std::wstring& type,
                                const std::vector<std::pair<std::wstring, std::wstring>>& stored) {
        SCOPED_TRACE(narrow(option));
        store_everywhere(GetParam());
        SaverProcess& run = start(L"/c");
        ASSERT_TRUE(shows_only(run, {kChooserCaption}));
        click_on(FindWindowExW(window_captioned(run, kChooserCaption)->handle, nullptr, nullptr,
                               option));
        press_key('N', VK_MENU);
        ASSERT_TRUE(shows_only(run, {caption}));
        press_key('O', VK_MENU);
        ASSERT_TRUE(ends_normally(run));
        EXPECT_EQ(config::read_text(L"Type"), type);
        for (const auto& [key, value] : stored)
            EXPECT_EQ(config::read_text(key), value) << narrow(key);
        // Without a Config key to start from, nothing but the mode and its own keys appear.
        if (GetParam().missing) {
            EXPECT_EQ(config::value_names().size(), stored.size() + 1);
        }
    }
};

TEST_P(HostileSettings, TheSaverRunsInEveryModeAndWritesNothing) {
    expect_a_working_saver(L"");  // the Type itself hostile: the default mode
    for (const wchar_t* type : {L"0", L"1", L"2"}) expect_a_working_saver(type);
}

TEST_P(HostileSettings, EveryOptionsDialogShowsAndStoresTheDefaults) {
    if (!GetParam().dialogs) GTEST_SKIP() << "the dialogs write this value themselves";
    expect_defaults_stored(L"Drifter", L"VQ ScreenSaver (Drifter)", L"0",
                           {{L"DriftSpeed", L"25"}, {L"DriftImage", L"41"}, {L"DriftTrail", L"0"}});
    expect_defaults_stored(L"Still && Quote", L"VQ ScreenSaver (Still & Quote)", L"1",
                           {{L"SQSpeed", L"5000"},
                            {L"SQTitle", L"1"},
                            {L"SQQuote", L"1"},
                            {L"SQStudio", L"1"},
                            {L"SQYear", L"1"}});
    expect_defaults_stored(L"Flasher", L"VQ ScreenSaver (Flasher)", L"2",
                           {{L"FlasherSpeed", L"2000"}});
}

INSTANTIATE_TEST_SUITE_P(
    Values, HostileSettings,
    ::testing::Values(text("empty", L""), text("letters", L"abc"),
                      HostileValue{"zero", REG_SZ, {'0', 0, 0, 0}, false, false},
                      text("minus_one", L"-1"), text("exponent", L"1e9"),
                      text("one_mebibyte", std::wstring(512 * 1024, L'7')),
                      HostileValue{"no_terminator", REG_SZ, {'a', 0, 'b', 0, 'c', 0}},
                      HostileValue{"dword", REG_DWORD, {1, 0, 0, 0}},
                      HostileValue{"binary", REG_BINARY, {0xFF, 0xFE, 0x00}},
                      HostileValue{"no_config_key", REG_NONE, {}, true}),
    [](const ::testing::TestParamInfo<HostileValue>& info) { return info.param.name; });

}  // namespace
}  // namespace vqtest
