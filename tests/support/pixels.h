// A picture of the screen, or of a part of it, and the questions the tests ask of its pixels.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace vqtest {

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

inline constexpr uint32_t kBlack = 0x000000;
inline constexpr uint32_t kWhite = 0xFFFFFF;

// 0xRRGGBB pixels, addressed in the coordinates of the screen they were read from. Every
// question about an area looks only at the part of it the picture holds.
class Pixels {
  public:
    Pixels() = default;
    // `pixels` row by row, the top row first; empty when they do not fill `area`.
    Pixels(Box area, std::vector<uint32_t> pixels);

    bool empty() const { return pixels_.empty(); }
    int width() const { return area_.width(); }
    int height() const { return area_.height(); }
    const Box& box() const { return area_; }
    // Row by row, the top row first.
    const std::vector<uint32_t>& data() const { return pixels_; }
    // Throws std::out_of_range outside the picture.
    uint32_t pixel(int x, int y) const;

    int count_other_than(uint32_t colour, const Box& area) const;
    // True if every pixel of `area` has `colour`; false for an empty picture.
    bool all(const Box& area, uint32_t colour) const;
    // The smallest box holding every pixel of `area` (the whole picture by default) that is
    // neither black nor `paper`; nothing when there is none.
    std::optional<Box> drawn_bounds(const Box& area, uint32_t paper = kBlack) const;
    std::optional<Box> drawn_bounds() const { return drawn_bounds(area_); }

  private:
    Box clipped(const Box& area) const;

    Box area_;
    std::vector<uint32_t> pixels_;
};

}  // namespace vqtest
