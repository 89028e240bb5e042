#include "driver/screen_image.h"

#include <cstring>
#include <fstream>

#include "driver/win32_error.h"
#include "platform/win32/handles.h"

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

constexpr uint32_t kColourMask = 0xFFFFFF;

}  // namespace

RECT ScreenImage::virtual_screen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

ScreenImage ScreenImage::capture() {
    const RECT area = virtual_screen();
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
    win32::unique_hbitmap bitmap(
        CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
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

std::optional<RECT> ScreenImage::non_black_bounds(const RECT& area) const {
    const auto found = drawn_bounds(Box{area.left, area.top, area.right, area.bottom});
    return found ? std::optional<RECT>(rect(*found)) : std::nullopt;
}

std::optional<ScreenImage> ScreenImage::load_bmp(const std::filesystem::path& file, POINT origin) {
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
    const BITMAPINFOHEADER info = top_down_header(width(), height());
    const auto pixel_bytes = static_cast<DWORD>(data().size() * sizeof(uint32_t));
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + pixel_bytes;

    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(reinterpret_cast<const char*>(data().data()), pixel_bytes);
    out.close();
    if (!out) throw DriverError("could not write " + file.string());
}

}  // namespace vqtest
