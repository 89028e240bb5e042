#include "platform/win32/win32_picture.h"

namespace win32 {

std::shared_ptr<Win32Picture> Win32Picture::from_bitmap(HBITMAP bitmap) {
    unique_hbitmap owned(bitmap);
    BITMAP info{};
    if (!owned || GetObjectW(owned.get(), sizeof info, &info) == 0) return nullptr;
    return std::shared_ptr<Win32Picture>(
        new Win32Picture(std::move(owned), unique_hicon(), info.bmWidth, info.bmHeight));
}

std::shared_ptr<Win32Picture> Win32Picture::from_icon(HICON icon, int width, int height) {
    unique_hicon owned(icon);
    if (!owned) return nullptr;
    return std::shared_ptr<Win32Picture>(
        new Win32Picture(unique_hbitmap(), std::move(owned), width, height));
}

}  // namespace win32
