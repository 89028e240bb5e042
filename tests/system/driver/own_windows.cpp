#include "driver/own_windows.h"

#include <future>

#include "driver/screen_image.h"
#include "driver/win32_error.h"
#include "support/polling.h"

namespace vqtest {
namespace {

LRESULT CALLBACK quit_on_destroy(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

ThreadWindow::ThreadWindow(const wchar_t* class_name, int stock_brush, DWORD ex_style, DWORD style,
                           RECT rect) {
    std::promise<HWND> made;
    std::future<HWND> window = made.get_future();
    thread_ = std::thread([=, made = std::move(made)]() mutable {
        WNDCLASSW window_class{};
        window_class.lpfnWndProc = quit_on_destroy;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(stock_brush));
        window_class.lpszClassName = class_name;
        RegisterClassW(&window_class);  // fails harmlessly once an earlier window registered it
        const HWND created = CreateWindowExW(
            ex_style, class_name, class_name, style, rect.left, rect.top, rect.right - rect.left,
            rect.bottom - rect.top, nullptr, nullptr, window_class.hInstance, nullptr);
        if (created && !(style & WS_VISIBLE)) ShowWindow(created, SW_SHOWNOACTIVATE);
        made.set_value(created);
        MSG message;
        while (created && GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    });
    window_ = window.get();
    if (!window_) {
        thread_.join();
        throw DriverError("the test's own window could not be made");
    }
}

void ThreadWindow::destroy() {
    if (!thread_.joinable()) return;
    PostMessageW(window_, WM_CLOSE, 0, 0);
    thread_.join();
}

Backdrop::Backdrop()
    : ThreadWindow(L"VQTestBackdrop", WHITE_BRUSH, 0, WS_POPUP | WS_VISIBLE,
                   ScreenImage::virtual_screen()) {
    const bool shown = poll_until([] {
        const ScreenImage screen = ScreenImage::capture();
        return screen.all(screen.box(), kWhite);
    });
    if (!shown) throw DriverError("the white backdrop did not appear on the screen");
}

namespace {

RECT host_frame(int client_width, int client_height, DWORD style) {
    RECT frame{0, 0, client_width, client_height};
    AdjustWindowRect(&frame, style, FALSE);
    return {0, 0, frame.right - frame.left, frame.bottom - frame.top};
}

constexpr DWORD kHostStyle = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;

}  // namespace

PreviewHost::PreviewHost(int client_width, int client_height)
    : ThreadWindow(L"VQTestPreviewHost", GRAY_BRUSH, WS_EX_TOPMOST, kHostStyle,
                   host_frame(client_width, client_height, kHostStyle)) {}

std::wstring PreviewHost::command(const std::wstring& request) const {
    return request + std::to_wstring(reinterpret_cast<UINT_PTR>(window()));
}

RECT PreviewHost::client_on_screen() const {
    RECT client{};
    GetClientRect(window(), &client);
    MapWindowPoints(window(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

}  // namespace vqtest
