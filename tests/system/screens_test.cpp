// Each display mode on the screen the environment was started with (VQ_SCREEN_SIZE, as
// "WxH"): one window covering exactly that screen, drawing that shows up on it, and an end
// on a key.
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "driver/config_registry.h"
#include "driver/input.h"
#include "driver/polling.h"
#include "driver/screen_image.h"
#include "driver/system_test.h"

namespace vqtest {
namespace {

struct ModeCase {
    std::string name;
    std::vector<std::pair<std::wstring, std::wstring>> settings;
};

class Screens : public SystemTest, public ::testing::WithParamInterface<ModeCase> {};

std::optional<SIZE> expected_screen() {
    const wchar_t* text = _wgetenv(L"VQ_SCREEN_SIZE");
    SIZE size{};
    if (!text || std::swscanf(text, L"%ldx%ld", &size.cx, &size.cy) != 2) return std::nullopt;
    return size;
}

TEST_P(Screens, DrawsOnTheWholeScreenAndEndsOnAKey) {
    const auto screen = expected_screen();
    ASSERT_TRUE(screen) << "VQ_SCREEN_SIZE gives no screen size";
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), screen->cx);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), screen->cy);
    const RECT whole{0, 0, screen->cx, screen->cy};

    for (const auto& [name, value] : GetParam().settings) config::set_text(name, value);
    SaverProcess& saver = start(L"/s");
    ASSERT_TRUE(shows_one_window(saver));
    const RECT window = saver.visible_windows().at(0).rect;
    EXPECT_TRUE(EqualRect(&window, &whole)) << "the window covers " << to_text(window);

    std::optional<RECT> drawn;
    EXPECT_TRUE(poll_until(
        [&] {
            drawn = ScreenImage::capture().non_black_bounds();
            return drawn.has_value();
        },
        kStartTimeout))
        << "nothing drawn";
    if (drawn) {
        RECT inside{};
        IntersectRect(&inside, &*drawn, &whole);
        EXPECT_TRUE(EqualRect(&inside, &*drawn)) << "drawn at " << to_text(*drawn);
    }

    press_key(VK_SPACE);
    EXPECT_TRUE(ends_normally(saver));
}

// Short periods, so that each mode has drawn something within a second or two.
INSTANTIATE_TEST_SUITE_P(
    Modes, Screens,
    ::testing::Values(ModeCase{"drifter", {{L"Type", L"0"}, {L"DriftSpeed", L"10"}}},
                      ModeCase{"still_quote", {{L"Type", L"1"}, {L"SQSpeed", L"2000"}}},
                      ModeCase{"flasher", {{L"Type", L"2"}, {L"FlasherSpeed", L"250"}}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vqtest
