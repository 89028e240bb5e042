// One owner per kind of Win32 handle: each closes its handle exactly once, and counts the
// handles of its kind that are alive, so that a long run can show it holds no more than it
// should.
#pragma once

#include <windows.h>

#include <array>
#include <utility>

namespace win32 {

// PointerHide is no handle but counts alike: each hiding of the pointer not yet undone.
enum class HandleKind {
    Window,
    MemoryDC,
    Bitmap,
    Font,
    Brush,
    Icon,
    RegistryKey,
    Kernel,
    PointerHide
};
constexpr int kHandleKinds = 9;

struct HandleCount {
    int live = 0;
    int peak = 0;
};

// The counts of every kind, by HandleKind.
std::array<HandleCount, kHandleKinds>& handle_counts();
const char* handle_kind_name(HandleKind kind);

inline void note_acquired(HandleKind kind) {
    HandleCount& count = handle_counts()[static_cast<int>(kind)];
    if (++count.live > count.peak) count.peak = count.live;
}

inline void note_released(HandleKind kind) { --handle_counts()[static_cast<int>(kind)].live; }

// An owned handle: null, or a handle that Close releases when the owner goes.
template <typename Handle, auto Close, HandleKind Kind>
class unique_any {
public:
    unique_any() = default;
    explicit unique_any(Handle handle) { reset(handle); }
    ~unique_any() { reset(); }
    unique_any(unique_any&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset(Handle handle = nullptr) {
        if (handle_ != nullptr) {
            // Nothing can be done about a handle that fails to close; it is gone either way.
            static_cast<void>(Close(handle_));
            note_released(Kind);
        }
        handle_ = handle;
        if (handle_ != nullptr) note_acquired(Kind);
    }
    // The handle went without its owner (a window destroyed with its parent): forget it.
    void forget() {
        if (handle_ != nullptr) note_released(Kind);
        handle_ = nullptr;
    }

private:
    Handle handle_ = nullptr;
};

using unique_hwnd = unique_any<HWND, &DestroyWindow, HandleKind::Window>;
using unique_hdc = unique_any<HDC, &DeleteDC, HandleKind::MemoryDC>;
using unique_hbitmap = unique_any<HBITMAP, &DeleteObject, HandleKind::Bitmap>;
using unique_hfont = unique_any<HFONT, &DeleteObject, HandleKind::Font>;
using unique_hbrush = unique_any<HBRUSH, &DeleteObject, HandleKind::Brush>;
using unique_hicon = unique_any<HICON, &DestroyIcon, HandleKind::Icon>;
using unique_hkey = unique_any<HKEY, &RegCloseKey, HandleKind::RegistryKey>;
using unique_handle = unique_any<HANDLE, &CloseHandle, HandleKind::Kernel>;

// A window's device context from GetDC (or the screen's, for a null window), released with
// ReleaseDC.
class window_dc {
public:
    explicit window_dc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~window_dc() {
        if (dc_ != nullptr) static_cast<void>(ReleaseDC(window_, dc_));
    }
    window_dc(const window_dc&) = delete;
    window_dc& operator=(const window_dc&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint and EndPaint around a WM_PAINT.
class paint_dc {
public:
    explicit paint_dc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~paint_dc() {
        if (dc_ != nullptr) EndPaint(window_, &paint_);
    }
    paint_dc(const paint_dc&) = delete;
    paint_dc& operator=(const paint_dc&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    const RECT& area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a device context and puts the previous one back when it goes.
class select_object {
public:
    select_object(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~select_object() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    select_object(const select_object&) = delete;
    select_object& operator=(const select_object&) = delete;
    explicit operator bool() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace win32
