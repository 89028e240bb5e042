// The benchmark's baseline: the least a Win32 screen saver can do. A black top-most popup over
// the screen with a SetTimer timer whose ticks do nothing ("probe.exe 25"), or, with "blit",
// move a 124 x 152 8-bit greyscale DIB one pixel along and BitBlt it onto the window at every
// tick ("probe.exe 25 blit"). Ticks are logged like the saver's (see platform/win32/tick_log.h). The probe
// runs until it is ended from outside.
#include <windows.h>

#include <array>
#include <cstdlib>
#include <cstring>

#include "platform/win32/tick_log.h"

namespace {

constexpr int kPictureWidth = 124;
constexpr int kPictureHeight = 152;
constexpr UINT_PTR kTimerId = 1;
constexpr wchar_t kClassName[] = L"VQSaverBenchProbe";

struct Options {
    UINT interval_ms = 25;
    bool blit = false;
};

// "INTERVAL [blit]"; an interval that SetTimer cannot take falls back to 25 ms.
Options parse_options(const char* command_line) {
    Options options;
    char* end = nullptr;
    const long interval = std::strtol(command_line, &end, 10);
    if (end != command_line && interval >= static_cast<long>(USER_TIMER_MINIMUM) &&
        interval <= static_cast<long>(USER_TIMER_MAXIMUM))
        options.interval_ms = static_cast<UINT>(interval);
    options.blit = std::strstr(command_line, "blit") != nullptr;
    return options;
}

// A greyscale picture like the saver's Drifter pictures: 8 bits per pixel, linear grey
// palette, a black frame one pixel wide (so that a one-pixel move leaves no trail).
class Picture {
public:
    Picture() {
        struct {
            BITMAPINFOHEADER header;
            std::array<RGBQUAD, 256> colours;
        } info{};
        info.header.biSize = sizeof(BITMAPINFOHEADER);
        info.header.biWidth = kPictureWidth;
        info.header.biHeight = kPictureHeight;
        info.header.biPlanes = 1;
        info.header.biBitCount = 8;
        info.header.biCompression = BI_RGB;
        for (int k = 0; k < 256; ++k) {
            const auto grey = static_cast<BYTE>(k);
            info.colours[k] = RGBQUAD{grey, grey, grey, 0};
        }
        void* bits = nullptr;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                   &bits, nullptr, 0);
        if (dc_ == nullptr || bitmap_ == nullptr) return;
        constexpr int stride = (kPictureWidth + 3) / 4 * 4;
        auto* pixels = static_cast<BYTE*>(bits);
        for (int y = 0; y < kPictureHeight; ++y)
            for (int x = 0; x < kPictureWidth; ++x) {
                const bool frame = x == 0 || y == 0 || x == kPictureWidth - 1 ||
                                   y == kPictureHeight - 1;
                pixels[y * stride + x] = frame ? 0 : static_cast<BYTE>(64 + (x + y) % 160);
            }
        old_bitmap_ = SelectObject(dc_, bitmap_);
    }
    ~Picture() {
        if (old_bitmap_ != nullptr) SelectObject(dc_, old_bitmap_);
        if (bitmap_ != nullptr) DeleteObject(bitmap_);
        if (dc_ != nullptr) DeleteDC(dc_);
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    bool ready() const { return old_bitmap_ != nullptr; }
    HDC dc() const { return dc_; }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_bitmap_ = nullptr;
};

struct Probe {
    explicit Probe(Options chosen) : options(chosen) {}

    Options options;
    TickLog tick_log;
    Picture picture;
    int x = 0;
    int step = 1;

    void on_tick(HWND window) {
        tick_log.tick();
        if (!options.blit || !picture.ready()) return;
        RECT client;
        if (!GetClientRect(window, &client)) return;
        const int room = client.right - kPictureWidth;
        if (x + step < 0 || x + step > room) step = -step;
        x += step;
        HDC dc = GetDC(window);
        if (dc == nullptr) return;
        static_cast<void>(BitBlt(dc, x, (client.bottom - kPictureHeight) / 2, kPictureWidth,
                                 kPictureHeight, picture.dc(), 0, 0, SRCCOPY));
        ReleaseDC(window, dc);
    }
};

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* probe = reinterpret_cast<Probe*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_TIMER:
            if (probe != nullptr && wparam == kTimerId) probe->on_tick(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wparam, lparam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
    Probe probe(parse_options(command_line));

    WNDCLASSW window_class{};
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = instance;
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    window_class.lpszClassName = kClassName;
    if (RegisterClassW(&window_class) == 0) return 1;

    HWND window = CreateWindowExW(WS_EX_TOPMOST, kClassName, L"Probe", WS_POPUP | WS_VISIBLE, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                  nullptr, nullptr, instance, &probe);
    if (window == nullptr) return 1;
    ShowCursor(FALSE);
    if (SetTimer(window, kTimerId, probe.options.interval_ms, nullptr) == 0) return 1;

    MSG message;
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (got == -1) return 1;
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
