#include "platform/win32/win32_picture.h"

namespace win32 {

std::shared_ptr<Win32Picture> Win32Picture::from_bitmap(HBITMAP bitmap) {
    if (bitmap == nullptr) return nullptr;
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof info, &info) == 0) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return std::shared_ptr<Win32Picture>(
        new Win32Picture(bitmap, nullptr, info.bmWidth, info.bmHeight));
}

std::shared_ptr<Win32Picture> Win32Picture::from_icon(HICON icon, int width, int height) {
    if (icon == nullptr) return nullptr;
    return std::shared_ptr<Win32Picture>(new Win32Picture(nullptr, icon, width, height));
}

Win32Picture::~Win32Picture() {
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    if (icon_ != nullptr) DestroyIcon(icon_);
}

}  // namespace win32
