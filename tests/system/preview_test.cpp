// The saver as a preview in a host's window (/p <handle>): a child filling the host's client
// area with a miniature of the screen, that input leaves alone and the host's end ends. How
// each mode lays out its miniature is the unit tests' (tests/unit/preview_test.cpp).
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string>

#include "driver/config_registry.h"
#include "driver/input.h"
#include "driver/own_windows.h"
#include "driver/screen_image.h"
#include "driver/system_test.h"

namespace vqtest {
namespace {

// Wine shows nothing a child window draws when its parent belongs to another process, so
// the tests read what the preview shows from the frames it writes when asked
// (VQ_PREVIEW_SNAPSHOT): the same painting that reaches the window.
class Preview : public SystemTest {
  protected:
    void SetUp() override {
        SystemTest::SetUp();
        forget_frames();
        SetEnvironmentVariableW(L"VQ_PREVIEW_SNAPSHOT", frame_.c_str());
    }
    void TearDown() override {
        SystemTest::TearDown();
        SetEnvironmentVariableW(L"VQ_PREVIEW_SNAPSHOT", nullptr);
        forget_frames();
    }
    void forget_frames() {
        std::error_code ignored;
        std::filesystem::remove(frame_, ignored);
    }
    // Where the last frame of the preview in `host` shows something, in screen coordinates;
    // nothing before the first frame or while it is all black.
    std::optional<RECT> drawn(const PreviewHost& host) const {
        const RECT client = host.client_on_screen();
        const auto frame = ScreenImage::load_bmp(frame_, {client.left, client.top});
        return frame ? frame->non_black_bounds() : std::nullopt;
    }

  private:
    const std::filesystem::path frame_ =
        std::filesystem::temp_directory_path() / L"vq-preview-frame.bmp";
};

// The size of the system's own preview monitor, and a larger one.
constexpr SIZE kHostSizes[] = {{152, 112}, {640, 360}};

// The miniature inside a host's client area: the screen scaled to fit, centred.
struct Miniature {
    double scale;
    RECT area;  // screen coordinates
};

Miniature miniature_in(const RECT& client) {
    const int screen_width = GetSystemMetrics(SM_CXSCREEN);
    const int screen_height = GetSystemMetrics(SM_CYSCREEN);
    const double scale = std::min(double(client.right - client.left) / screen_width,
                                  double(client.bottom - client.top) / screen_height);
    const LONG width = std::lround(screen_width * scale);
    const LONG height = std::lround(screen_height * scale);
    const LONG left = client.left + (client.right - client.left - width) / 2;
    const LONG top = client.top + (client.bottom - client.top - height) / 2;
    return {scale, {left, top, left + width, top + height}};
}

// Whether the saver's child window fills the host's client area, and the preview shows no
// window of its own.
::testing::AssertionResult fills_host(const SaverProcess& saver, const PreviewHost& host) {
    HWND child = nullptr;
    if (!poll_until([&] { return (child = host.child()) != nullptr && IsWindowVisible(child); }))
        return ::testing::AssertionFailure() << "no visible child window in the host";
    DWORD owner = 0;
    GetWindowThreadProcessId(child, &owner);
    RECT child_rect{};
    RECT host_client{};
    GetClientRect(child, &child_rect);
    GetClientRect(host.window(), &host_client);
    if (owner != saver.id()) return ::testing::AssertionFailure() << "the child is not the saver's";
    if (!EqualRect(&child_rect, &host_client))
        return ::testing::AssertionFailure()
               << "child " << to_text(child_rect) << ", host's client " << to_text(host_client);
    if (!saver.visible_windows().empty())
        return ::testing::AssertionFailure() << "the preview shows a top-level window";
    return ::testing::AssertionSuccess();
}

// Frames for over a second and a half, several stills or pictures: every one of them wholly
// inside. The Drifter's picture, 111 x 145 with a black frame, starts vertically centred.
TEST_F(Preview, EachModeDrawsScaledInsideTheMiniature) {
    config::set_text(L"SQSpeed", L"400");
    config::set_text(L"FlasherSpeed", L"150");
    for (const std::wstring type : {L"0", L"1", L"2"}) {
        config::set_text(L"Type", type);
        for (const SIZE size : kHostSizes) {
            SCOPED_TRACE(narrow(type) + ": " + std::to_string(size.cx));
            forget_frames();
            PreviewHost host(size.cx, size.cy);
            SaverProcess& saver = start(host.command(L"/p:"));
            ASSERT_TRUE(fills_host(saver, host));
            const Miniature mini = miniature_in(host.client_on_screen());
            std::optional<RECT> first;
            int frames_drawn = 0;
            ASSERT_TRUE(poll_until([&] {
                const auto shows = drawn(host);
                if (!shows) return false;
                if (!first) first = shows;
                EXPECT_TRUE(contains(mini.area, *shows)) << to_text(*shows);
                return ++frames_drawn >= 150;
            }));
            if (type == L"0") {
                const double row = std::round((GetSystemMetrics(SM_CYSCREEN) - 145) / 2.0);
                EXPECT_NEAR(first->bottom - first->top, 145 * mini.scale, 2.5) << to_text(*first);
                EXPECT_NEAR(first->top, mini.area.top + row * mini.scale, 2.5) << to_text(*first);
            }
            EXPECT_TRUE(saver.running());
        }
    }
}

// Input leaves a preview alone; it is no instance: the saver and the chooser start beside
// it. It ends with its host's window, or when its own is closed.
TEST_F(Preview, InputLeavesItAloneTheSaverAndTheChooserStartBesideItAndItEndsWithItsWindow) {
    PreviewHost host(152, 112);
    SaverProcess& preview = start(host.command(L"/P "));
    ASSERT_TRUE(fills_host(preview, host));
    const RECT client = host.client_on_screen();
    move_pointer_to({client.left + 20, client.top + 20});
    move_pointer_to({client.left + 90, client.top + 70});
    click();
    press_key(VK_SPACE);
    EXPECT_TRUE(keeps_running(preview));
    EXPECT_TRUE(pointer_shown());

    SaverProcess& saver = start(L"/s");
    EXPECT_TRUE(shows_saver(saver));
    // A second saver, or the chooser, still ends at once beside the first saver and leaves
    // it alone.
    EXPECT_TRUE(ends_at_once(start(L"/s")));
    EXPECT_TRUE(ends_at_once(start(L"/c")));
    EXPECT_EQ(saver.visible_windows().size(), 1u);
    press_key(VK_SPACE);
    ASSERT_TRUE(ends_normally(saver));
    EXPECT_TRUE(preview.running());

    SaverProcess& chooser = start(L"/c");
    EXPECT_TRUE(window_captioned(chooser, kChooserCaption));
    EXPECT_TRUE(preview.running());
    host.destroy();
    EXPECT_TRUE(ends_normally(preview));
    // A preview in the window gone ends at once.
    EXPECT_TRUE(ends_at_once(start(host.command())));

    // A preview starts while the chooser runs, and ends when its own window is closed.
    PreviewHost other(152, 112);
    SaverProcess& late = start(other.command());
    ASSERT_TRUE(fills_host(late, other));
    PostMessageW(other.child(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(ends_normally(late));
    EXPECT_TRUE(IsWindow(other.window()));
}

}  // namespace
}  // namespace vqtest
