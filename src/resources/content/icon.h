// The program's icon: a face on a strip of film, 32 x 32 pixels in the 16 standard colours,
// stored as icon image 30001 in icon group 1.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace vq::content {

constexpr int kIconSize = 32;
constexpr int kIconImageId = 30001;
constexpr int kIconGroupId = 1;

struct Rgb {
    std::uint8_t r, g, b;
};

// The 16-colour palette of the classic VGA display.
extern const std::array<Rgb, 16> kIconPalette;

// Palette indices, top-down, row by row.
std::array<std::uint8_t, kIconSize * kIconSize> icon_indices();

// The image resource: a 40-byte header of double height, the palette, the 4-bit colour rows
// and the 1-bit transparency mask (all opaque), both bottom-up.
std::vector<std::uint8_t> icon_image_resource();
// The group resource naming the one image by its number.
std::vector<std::uint8_t> icon_group_resource();

}  // namespace vq::content
