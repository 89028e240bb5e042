// A form's persistent surface: a 32-bit DIB section of the client size in a memory DC that
// keeps everything drawn on it. A new size or back colour starts it clean.
#pragma once

#include <windows.h>

#include <optional>

#include "platform/win32/handles.h"
#include "toolkit/types.h"

namespace win32 {

class BackBuffer {
public:
    // Makes the surface width x height filled with `color` unless it is that already; true
    // if it was made anew. Empty when a side is 0 or the system has no memory for it.
    bool fit(int width, int height, tk::Color color);
    // Null while empty.
    HDC dc() const { return bitmap_ ? dc_.get() : nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    void release();

    // Declared in this order so that the bitmap is deselected before it and the DC go.
    unique_hdc dc_;
    unique_hbitmap bitmap_;
    std::optional<select_object> selection_;
    int width_ = 0;
    int height_ = 0;
    tk::Color color_ = 0;
};

}  // namespace win32
