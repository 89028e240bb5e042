// An 8-bit greyscale picture and its .bmp file form: a 40-byte information header, a
// 256-entry linear grey palette (entry k is grey level k) and bottom-up rows padded to
// four bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vq::content {

struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // top-down, row by row, one grey level per pixel

    std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// What the header's colours-used and important-colours counts say: 0 (all of them) or 256.
enum class ColourCounts { Implicit, Explicit256 };

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kPaletteSize = 256 * 4;

// Bytes per stored row: the width padded to a multiple of four.
constexpr std::size_t bmp_stride(int width) {
    return (static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
}

// The complete .bmp file; a BITMAP resource is the same without the 14-byte file header.
std::vector<std::uint8_t> bmp_file(const GreyImage& image, ColourCounts counts);

}  // namespace vq::content
