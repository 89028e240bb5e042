// What the screen shows: its pixels read back through the screen DC.
#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <vector>

#include "support/pixels.h"

namespace vqtest {

// Pixels are addressed in screen coordinates: the primary's top-left corner is 0,0.
class ScreenImage : public Pixels {
  public:
    // Reads every monitor: the virtual screen.
    static ScreenImage capture();
    // The rectangle of every monitor together, whose top-left corner may be left of and
    // above the primary's.
    static RECT virtual_screen();
    // Reads a 32-bit top-down BMP file, as save_bmp writes it, with its top-left pixel at
    // `origin`; nothing if there is no such file.
    static std::optional<ScreenImage> load_bmp(const std::filesystem::path& file, POINT origin);

    using Pixels::count_other_than;
    int count_other_than(uint32_t colour, const RECT& area) const {
        return count_other_than(colour, Box{area.left, area.top, area.right, area.bottom});
    }
    int count_non_black(const RECT& area) const { return count_other_than(kBlack, area); }
    bool all_black() const { return all(box(), kBlack); }
    std::optional<RECT> non_black_bounds() const { return non_black_bounds(rect(box())); }
    std::optional<RECT> non_black_bounds(const RECT& area) const;

    // Writes a 32-bit BMP file.
    void save_bmp(const std::filesystem::path& file) const;

  private:
    ScreenImage(POINT origin, int width, int height, std::vector<uint32_t> pixels)
        : Pixels({origin.x, origin.y, origin.x + width, origin.y + height}, std::move(pixels)) {}
    static RECT rect(const Box& box) { return {box.left, box.top, box.right, box.bottom}; }
};

}  // namespace vqtest
