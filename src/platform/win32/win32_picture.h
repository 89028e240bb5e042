// The Win32 backend's picture: a device-independent bitmap section or an icon, owned.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/win32/handles.h"
#include "toolkit/picture.h"

namespace win32 {

class Win32Picture : public tk::Picture {
public:
    // Takes ownership of the handle.
    static std::shared_ptr<Win32Picture> from_bitmap(HBITMAP bitmap);
    static std::shared_ptr<Win32Picture> from_icon(HICON icon, int width, int height);
    Win32Picture(const Win32Picture&) = delete;
    Win32Picture& operator=(const Win32Picture&) = delete;

    int width_px() const override { return width_; }
    int height_px() const override { return height_; }
    // Exactly one of the two is set.
    HBITMAP bitmap() const { return bitmap_.get(); }
    HICON icon() const { return icon_.get(); }

private:
    Win32Picture(unique_hbitmap bitmap, unique_hicon icon, int width, int height)
        : bitmap_(std::move(bitmap)), icon_(std::move(icon)), width_(width), height_(height) {}

    unique_hbitmap bitmap_;
    unique_hicon icon_;
    int width_;
    int height_;
};

}  // namespace win32
