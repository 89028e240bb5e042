// The saver's window as the screen shows it.
#include "driver/backdrop.h"
#include "driver/config_registry.h"
#include "driver/input.h"
#include "driver/screen_image.h"
#include "driver/system_test.h"

namespace vqtest {
namespace {

using SaverWindow = SystemTest;

TEST_F(SaverWindow, CoversTheScreenTopMostAndBlackWithoutBorderOrPointer) {
    config::set_text(L"Type", L"3");  // no display mode: nothing is drawn on the black
    const Backdrop backdrop;
    ASSERT_TRUE(pointer_shown());

    SaverProcess& saver = start(L"/s");
    const auto windows = saver.wait_for_windows(kStartTimeout);
    ASSERT_EQ(windows.size(), 1u);
    const TopWindow& window = windows.front();
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_EQ(window.caption, L"VQ ScreenSaver (Still & Quote)");
    EXPECT_EQ(to_text(window.rect), to_text(screen));
    EXPECT_TRUE(window.has_style(WS_POPUP));
    EXPECT_EQ(window.style & (WS_CAPTION | WS_THICKFRAME), 0);
    EXPECT_TRUE(window.topmost());

    int non_black = -1;
    EXPECT_TRUE(poll_until(
        [&] {
            non_black = ScreenImage::capture().count_non_black(screen);
            return non_black == 0;
        },
        kStartTimeout))
        << non_black << " pixels are not black";
    // Wine keeps the pointer's show count per thread and reports the foreground one's.
    EXPECT_FALSE(pointer_shown());

    press_key(VK_SPACE);
    ASSERT_TRUE(ends_normally(saver));
    EXPECT_TRUE(poll_until(
        [&] { return ScreenImage::capture().count_other_than(kWhite, screen) == 0; },
        kExitTimeout))
        << "the saver's window is still on the screen";
    EXPECT_TRUE(pointer_shown());
}

}  // namespace
}  // namespace vqtest
