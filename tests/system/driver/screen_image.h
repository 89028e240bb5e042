// What the screen shows: its pixels read back through the screen DC.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace vqtest {

class ScreenImage {
public:
    // Reads the whole primary screen.
    static ScreenImage capture();
    // Reads every monitor: the virtual screen, in whose coordinates its pixels are then
    // addressed (the primary's top-left corner is 0,0).
    static ScreenImage capture_virtual_screen();
    // Reads a 32-bit top-down BMP file, as save_bmp writes it, with its top-left pixel at
    // `origin`; nothing if there is no such file.
    static std::optional<ScreenImage> load_bmp(const std::filesystem::path& file, POINT origin);

    int width() const { return width_; }
    int height() const { return height_; }
    RECT bounds() const { return {origin_.x, origin_.y, origin_.x + width_, origin_.y + height_}; }

    // 0x00RRGGBB.
    uint32_t pixel(int x, int y) const;
    // Pixels inside `area` (clipped to what was read) that are not black, or that differ from
    // `colour`.
    int count_non_black(const RECT& area) const;
    int count_other_than(uint32_t colour, const RECT& area) const;
    bool all_black() const { return count_non_black(bounds()) == 0; }
    // The smallest rectangle holding every non-black pixel (of `area`); nothing if all are
    // black.
    std::optional<RECT> non_black_bounds() const { return non_black_bounds(bounds()); }
    std::optional<RECT> non_black_bounds(const RECT& area) const;

    // Writes a 32-bit BMP file.
    void save_bmp(const std::filesystem::path& file) const;

private:
    ScreenImage(POINT origin, int width, int height, std::vector<uint32_t> pixels)
        : origin_(origin), width_(width), height_(height), pixels_(std::move(pixels)) {}
    static ScreenImage capture(const RECT& area);

    POINT origin_;
    int width_;
    int height_;
    std::vector<uint32_t> pixels_;  // top row first
};

inline constexpr uint32_t kWhite = 0xFFFFFF;

}  // namespace vqtest
