// Each display mode on the screen the environment was started with (VQ_SCREEN_SIZE, as
// "WxH") at its DPI (VQ_DPI): one window covering exactly that screen, drawing that shows up
// on it, and an end on a key. The Drifter works in whole pixels at any DPI: it starts
// exactly where it does at 96 dpi.
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "driver/config_registry.h"
#include "driver/input.h"
#include "support/polling.h"
#include "driver/screen_image.h"
#include "driver/system_test.h"
#include "platform/win32/handles.h"

namespace vqtest {
namespace {

struct ModeCase {
    std::string name;
    std::vector<std::pair<std::wstring, std::wstring>> settings;
    bool drifter = false;
};

// Picture 41 is 145 pixels high in its one-pixel black frame; it starts at y = (H - 145) / 2,
// halves to even, and moves right, so the top of what shows of it stays one line lower.
LONG drifter_inside_top(LONG screen_height) {
    return static_cast<LONG>(std::nearbyint((screen_height - 145) / 2.0)) + 1;
}

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
    if (const wchar_t* dpi = _wgetenv(L"VQ_DPI")) {
        const win32::window_dc dc(nullptr);
        ASSERT_EQ(GetDeviceCaps(dc.get(), LOGPIXELSX), _wtoi(dpi))
            << "the display is not at VQ_DPI";
    }
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
        if (GetParam().drifter) {
            EXPECT_EQ(drawn->top, drifter_inside_top(screen->cy));
            EXPECT_EQ(drawn->bottom - drawn->top, 143);
        }
    }

    press_key(VK_SPACE);
    EXPECT_TRUE(ends_normally(saver));
}

// Short periods, so that each mode has drawn something within a second or two.
INSTANTIATE_TEST_SUITE_P(
    Modes, Screens,
    ::testing::Values(ModeCase{"drifter", {{L"Type", L"0"}, {L"DriftSpeed", L"10"}}, true},
                      ModeCase{"still_quote", {{L"Type", L"1"}, {L"SQSpeed", L"2000"}}},
                      ModeCase{"flasher", {{L"Type", L"2"}, {L"FlasherSpeed", L"250"}}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vqtest
