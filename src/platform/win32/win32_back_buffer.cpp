#include "platform/win32/win32_back_buffer.h"

namespace win32 {

void BackBuffer::release() {
    selection_.reset();
    bitmap_.reset();
    dc_.reset();
    width_ = 0;
    height_ = 0;
}

bool BackBuffer::fit(int width, int height, tk::Color color) {
    if (bitmap_ && width == width_ && height == height_ && color == color_) return false;
    release();
    color_ = color;
    if (width <= 0 || height <= 0) return true;

    dc_.reset(CreateCompatibleDC(nullptr));
    if (!dc_) return true;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_) {
        release();
        return true;
    }
    selection_.emplace(dc_.get(), bitmap_.get());
    if (!*selection_) {
        release();
        return true;
    }
    width_ = width;
    height_ = height;
    const unique_hbrush brush(CreateSolidBrush(color));
    const RECT all{0, 0, width, height};
    if (!brush || FillRect(dc_.get(), &all, brush.get()) == 0)
        PatBlt(dc_.get(), 0, 0, width, height, BLACKNESS);
    return true;
}

}  // namespace win32
