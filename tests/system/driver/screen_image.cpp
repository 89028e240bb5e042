#include "driver/screen_image.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "platform/win32/handles.h"
#include "driver/win32_error.h"

namespace vqtest {
namespace {

// 32 bits per pixel, rows top first: the layout both the capture and the file use.
BITMAPINFOHEADER top_down_header(int width, int height) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = -height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    return header;
}

RECT clip(const RECT& area, const RECT& bounds) {
    return {std::max(area.left, bounds.left), std::max(area.top, bounds.top),
            std::min(area.right, bounds.right), std::min(area.bottom, bounds.bottom)};
}

constexpr uint32_t kColourMask = 0xFFFFFF;

}  // namespace

ScreenImage ScreenImage::capture() {
    return capture({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

ScreenImage ScreenImage::capture_virtual_screen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return capture({left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                    top + GetSystemMetrics(SM_CYVIRTUALSCREEN)});
}

ScreenImage ScreenImage::capture(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) throw DriverError("GetSystemMetrics gave no screen size");

    const win32::window_dc screen(nullptr);
    if (!screen) throw_last_error("GetDC(NULL)");
    win32::unique_hdc memory(CreateCompatibleDC(screen.get()));
    if (!memory) throw_last_error("CreateCompatibleDC");

    BITMAPINFO info{};
    info.bmiHeader = top_down_header(width, height);
    void* bits = nullptr;
    win32::unique_hbitmap bitmap(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) throw_last_error("CreateDIBSection");
    {
        const win32::select_object selection(memory.get(), bitmap.get());
        if (!selection) throw_last_error("SelectObject");
        if (!BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top,
                    SRCCOPY | CAPTUREBLT))
            throw_last_error("BitBlt from the screen");
        GdiFlush();
    }
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    std::memcpy(pixels.data(), bits, pixels.size() * sizeof(uint32_t));
    for (uint32_t& p : pixels) p &= kColourMask;
    return ScreenImage({area.left, area.top}, width, height, std::move(pixels));
}

uint32_t ScreenImage::pixel(int x, int y) const {
    x -= origin_.x;
    y -= origin_.y;
    if (x < 0 || y < 0 || x >= width_ || y >= height_) throw DriverError("pixel outside the screen");
    return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

int ScreenImage::count_other_than(uint32_t colour, const RECT& area) const {
    const RECT inside = clip(area, bounds());
    int count = 0;
    for (int y = inside.top; y < inside.bottom; ++y)
        for (int x = inside.left; x < inside.right; ++x) count += pixel(x, y) != colour ? 1 : 0;
    return count;
}

int ScreenImage::count_non_black(const RECT& area) const { return count_other_than(0, area); }

std::optional<RECT> ScreenImage::non_black_bounds(const RECT& area) const {
    std::optional<RECT> found;
    const RECT all = clip(area, bounds());
    for (int y = all.top; y < all.bottom; ++y) {
        for (int x = all.left; x < all.right; ++x) {
            if (pixel(x, y) == 0) continue;
            if (!found) found = RECT{x, y, x + 1, y + 1};
            found->left = std::min(found->left, LONG{x});
            found->right = std::max(found->right, LONG{x + 1});
            found->bottom = y + 1;
        }
    }
    return found;
}

std::optional<ScreenImage> ScreenImage::load_bmp(const std::filesystem::path& file,
                                                 POINT origin) {
    std::ifstream in(file, std::ios::binary);
    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    if (!in.read(reinterpret_cast<char*>(&header), sizeof header) ||
        !in.read(reinterpret_cast<char*>(&info), sizeof info) || header.bfType != 0x4D42 ||
        info.biBitCount != 32 || info.biHeight >= 0 || info.biWidth <= 0)
        return std::nullopt;
    std::vector<uint32_t> pixels(static_cast<size_t>(info.biWidth) * -info.biHeight);
    in.seekg(header.bfOffBits);
    if (!in.read(reinterpret_cast<char*>(pixels.data()),
                 static_cast<std::streamsize>(pixels.size() * sizeof(uint32_t))))
        return std::nullopt;
    for (uint32_t& pixel : pixels) pixel &= kColourMask;
    return ScreenImage(origin, info.biWidth, -info.biHeight, std::move(pixels));
}

void ScreenImage::save_bmp(const std::filesystem::path& file) const {
    const BITMAPINFOHEADER info = top_down_header(width_, height_);
    const auto pixel_bytes = static_cast<DWORD>(pixels_.size() * sizeof(uint32_t));
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + pixel_bytes;

    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(reinterpret_cast<const char*>(pixels_.data()), pixel_bytes);
    out.close();
    if (!out) throw DriverError("could not write " + file.string());
}

}  // namespace vqtest
