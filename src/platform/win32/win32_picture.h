// The Win32 backend's picture: a device-independent bitmap section or an icon, owned.
#pragma once

#include <windows.h>

#include "toolkit/picture.h"

namespace win32 {

class Win32Picture : public tk::Picture {
public:
    // Takes ownership of the handle.
    static std::shared_ptr<Win32Picture> from_bitmap(HBITMAP bitmap);
    static std::shared_ptr<Win32Picture> from_icon(HICON icon, int width, int height);
    ~Win32Picture() override;
    Win32Picture(const Win32Picture&) = delete;
    Win32Picture& operator=(const Win32Picture&) = delete;

    int width_px() const override { return width_; }
    int height_px() const override { return height_; }
    // Exactly one of the two is set.
    HBITMAP bitmap() const { return bitmap_; }
    HICON icon() const { return icon_; }

private:
    Win32Picture(HBITMAP bitmap, HICON icon, int width, int height)
        : bitmap_(bitmap), icon_(icon), width_(width), height_(height) {}

    HBITMAP bitmap_;
    HICON icon_;
    int width_;
    int height_;
};

}  // namespace win32
