// One owner per kind of X resource the backend makes: each frees its resource exactly once,
// on the connection it was made on, when the owner goes or takes another.
#pragma once

#include "platform/x11/xlib.h"

// The toolkit's headers come before Xlib's, whose macros (None, Bool, Status) would
// otherwise rename their enumerators.

#include <memory>
#include <utility>

namespace x11 {

// An owned resource of a connection: empty, or one that Free releases when the owner goes.
template <typename Handle, auto Free>
class unique_x {
  public:
    unique_x() = default;
    unique_x(Display* display, Handle handle) { reset(display, handle); }
    ~unique_x() { reset(); }
    unique_x(unique_x&& other) noexcept
        : display_(other.display_), handle_(std::exchange(other.handle_, Handle{})) {}
    unique_x& operator=(unique_x&& other) noexcept {
        if (this != &other) {
            reset();
            display_ = other.display_;
            handle_ = std::exchange(other.handle_, Handle{});
        }
        return *this;
    }
    unique_x(const unique_x&) = delete;
    unique_x& operator=(const unique_x&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    // Gives the resource up without freeing it: for one the server never made.
    Handle release() { return std::exchange(handle_, Handle{}); }
    void reset() { reset(display_, Handle{}); }
    void reset(Display* display, Handle handle) {
        if (handle_ != Handle{}) Free(display_, handle_);
        display_ = display;
        handle_ = handle;
    }

  private:
    Display* display_ = nullptr;
    Handle handle_{};
};

namespace detail {
inline void free_pixmap(Display* display, Pixmap pixmap) {
    XFreePixmap(display, pixmap);
}
inline void free_gc(Display* display, GC gc) {
    XFreeGC(display, gc);
}
inline void free_cursor(Display* display, Cursor cursor) {
    XFreeCursor(display, cursor);
}
inline void destroy_window(Display* display, Window window) {
    XDestroyWindow(display, window);
}
inline void destroy_draw(Display*, XftDraw* draw) {
    XftDrawDestroy(draw);
}
inline void close_font(Display* display, XftFont* font) {
    XftFontClose(display, font);
}
}  // namespace detail

using unique_pixmap = unique_x<Pixmap, &detail::free_pixmap>;
using unique_gc = unique_x<GC, &detail::free_gc>;
using unique_cursor = unique_x<Cursor, &detail::free_cursor>;
using unique_window = unique_x<Window, &detail::destroy_window>;
using unique_xft_draw = unique_x<XftDraw*, &detail::destroy_draw>;
using unique_xft_font = unique_x<XftFont*, &detail::close_font>;

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
// The connection itself: closing it frees whatever of it is still alive on the server.
using unique_display = std::unique_ptr<Display, DisplayCloser>;

}  // namespace x11
