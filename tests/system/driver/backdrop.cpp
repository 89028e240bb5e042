#include "driver/backdrop.h"

#include <cstdio>
#include <cstdlib>

#include "support/polling.h"
#include "driver/screen_image.h"
#include "driver/win32_error.h"

namespace vqtest {
namespace {

constexpr wchar_t kClassName[] = L"VQTestBackdrop";

bool register_class() {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    window_class.lpszClassName = kClassName;
    return RegisterClassW(&window_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

void Backdrop::run(std::promise<DWORD>& started) {
    if (!register_class()) {
        started.set_exception(std::make_exception_ptr(last_error("RegisterClassW")));
        return;
    }
    HWND window = CreateWindowExW(
        0, kClassName, L"Backdrop", WS_POPUP | WS_VISIBLE, GetSystemMetrics(SM_XVIRTUALSCREEN),
        GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN),
        GetSystemMetrics(SM_CYVIRTUALSCREEN), nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window) {
        started.set_exception(std::make_exception_ptr(last_error("CreateWindowExW")));
        return;
    }
    started.set_value(GetCurrentThreadId());
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    // Should this fail, the end of the thread destroys the window all the same.
    DestroyWindow(window);
}

Backdrop::Backdrop() {
    std::promise<DWORD> started;
    std::future<DWORD> ready = started.get_future();
    thread_ = std::thread([&started] { run(started); });
    try {
        thread_id_ = ready.get();
    } catch (...) {
        thread_.join();
        throw;
    }
    const bool shown = poll_until(
        [] {
            const ScreenImage screen = ScreenImage::capture_virtual_screen();
            return screen.count_other_than(kWhite, screen.bounds()) == 0;
        },
        milliseconds{5000});
    if (!shown) {
        stop();
        throw DriverError("the white backdrop did not appear on the screen");
    }
}

Backdrop::~Backdrop() { stop(); }

void Backdrop::stop() {
    if (!thread_.joinable()) return;
    // The thread's queue exists (it made the window); if the message still cannot be
    // posted, joining would wait for ever.
    if (!PostThreadMessageW(thread_id_, WM_QUIT, 0, 0)) {
        std::fprintf(stderr, "could not stop the backdrop thread (error %lu)\n", GetLastError());
        std::abort();
    }
    thread_.join();
}

}  // namespace vqtest
