#include "driver/preview_host.h"

#include <stdexcept>

#include "driver/win32_error.h"

namespace vqtest {
namespace {

constexpr wchar_t kHostClass[] = L"VQTestPreviewHost";

LRESULT CALLBACK host_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

PreviewHost::PreviewHost(int client_width, int client_height)
    : ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (ready_ == nullptr) throw_last_error("CreateEvent");
    thread_ =
        std::thread([this, client_width, client_height] { run(client_width, client_height); });
    WaitForSingleObject(ready_, INFINITE);
    if (window_ == nullptr) {
        thread_.join();
        CloseHandle(ready_);
        throw std::runtime_error("the preview host's window could not be made");
    }
}

PreviewHost::~PreviewHost() {
    destroy();
    CloseHandle(ready_);
}

void PreviewHost::run(int client_width, int client_height) {
    WNDCLASSW host_class{};
    host_class.lpfnWndProc = host_proc;
    host_class.hInstance = GetModuleHandleW(nullptr);
    host_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    host_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    host_class.lpszClassName = kHostClass;
    RegisterClassW(&host_class);  // fails harmlessly once registered by an earlier host
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
    RECT frame{0, 0, client_width, client_height};
    AdjustWindowRect(&frame, style, FALSE);
    window_ = CreateWindowExW(WS_EX_TOPMOST, kHostClass, L"Preview host", style, 0, 0,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              host_class.hInstance, nullptr);
    if (window_ != nullptr) ShowWindow(window_, SW_SHOWNOACTIVATE);
    SetEvent(ready_);
    if (window_ == nullptr) return;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
}

RECT PreviewHost::client_on_screen() const {
    RECT client{};
    GetClientRect(window_, &client);
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    OffsetRect(&client, origin.x, origin.y);
    return client;
}

void PreviewHost::destroy() {
    if (!thread_.joinable()) return;
    PostMessageW(window_, WM_CLOSE, 0, 0);
    thread_.join();
}

}  // namespace vqtest
