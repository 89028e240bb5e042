#include "resources/content/icon.h"

#include "resources/content/byte_writer.h"

namespace vq::content {
namespace {

constexpr std::uint8_t kBlack = 0;
constexpr std::uint8_t kDarkGrey = 8;
constexpr std::uint8_t kLightGrey = 7;
constexpr std::uint8_t kWhite = 15;
constexpr std::uint8_t kDarkRed = 1;

constexpr std::size_t kColourRowBytes = kIconSize / 2;
constexpr std::size_t kMaskRowBytes = kIconSize / 8;
constexpr std::size_t kImageBytes = 40 + 16 * 4 + (kColourRowBytes + kMaskRowBytes) * kIconSize;

bool inside_ellipse(int x, int y, double cx, double cy, double rx, double ry) {
    const double nx = (x + 0.5 - cx) / rx;
    const double ny = (y + 0.5 - cy) / ry;
    return nx * nx + ny * ny <= 1;
}

std::uint8_t icon_pixel(int x, int y) {
    // The film strip: black with white sprocket holes down both sides.
    if (x < 5 || x >= 27) {
        const bool hole = (x == 2 || x == 3 || x == 28 || x == 29) && y % 4 != 0 && y % 4 != 3;
        return hole ? kWhite : kBlack;
    }
    if (y < 2 || y >= 30) return kBlack;
    // One frame of it: a head and shoulders on a light background.
    if (inside_ellipse(x, y, 16, 33, 10, 8)) return kDarkGrey;
    if (y >= 20 && y < 26 && x >= 14 && x < 18) return kLightGrey;  // neck
    const bool face = inside_ellipse(x, y, 16, 14, 5.5, 7);
    if (face) {
        if (y == 12 && (x == 13 || x == 18)) return kBlack;             // eyes
        if (y == 17 && x >= 14 && x <= 17) return kDarkRed;             // mouth
        if (y < 9 || (y < 12 && (x < 12 || x > 19))) return kDarkGrey;  // hair
        return kWhite;
    }
    if (inside_ellipse(x, y, 16, 11, 6.5, 6.5)) return kDarkGrey;  // hair around the face
    return kLightGrey;
}

}  // namespace

const std::array<Rgb, 16> kIconPalette = {{
    {0, 0, 0},
    {128, 0, 0},
    {0, 128, 0},
    {128, 128, 0},
    {0, 0, 128},
    {128, 0, 128},
    {0, 128, 128},
    {192, 192, 192},
    {128, 128, 128},
    {255, 0, 0},
    {0, 255, 0},
    {255, 255, 0},
    {0, 0, 255},
    {255, 0, 255},
    {0, 255, 255},
    {255, 255, 255},
}};

std::array<std::uint8_t, kIconSize * kIconSize> icon_indices() {
    std::array<std::uint8_t, kIconSize * kIconSize> indices{};
    for (int y = 0; y < kIconSize; ++y)
        for (int x = 0; x < kIconSize; ++x) indices[y * kIconSize + x] = icon_pixel(x, y);
    return indices;
}

std::vector<std::uint8_t> icon_image_resource() {
    const auto indices = icon_indices();
    ByteWriter out;
    out.u32(40);
    out.u32(kIconSize);
    out.u32(kIconSize * 2);  // the colour rows and the mask rows together
    out.u16(1);
    out.u16(4);
    out.u32(0);
    out.u32(static_cast<std::uint32_t>((kColourRowBytes + kMaskRowBytes) * kIconSize));
    out.u32(0);
    out.u32(0);
    out.u32(0);
    out.u32(0);
    for (const Rgb& c : kIconPalette) {
        out.u8(c.b);
        out.u8(c.g);
        out.u8(c.r);
        out.u8(0);
    }
    for (int y = kIconSize - 1; y >= 0; --y)
        for (int x = 0; x < kIconSize; x += 2)
            out.u8(static_cast<std::uint8_t>(indices[y * kIconSize + x] << 4 |
                                             indices[y * kIconSize + x + 1]));
    for (std::size_t i = 0; i < kMaskRowBytes * kIconSize; ++i) out.u8(0);
    return out.take();
}

std::vector<std::uint8_t> icon_group_resource() {
    ByteWriter out;
    out.u16(0);  // reserved
    out.u16(1);  // icons
    out.u16(1);  // one image
    out.u8(kIconSize);
    out.u8(kIconSize);
    out.u8(16);  // colours
    out.u8(0);
    out.u16(1);  // planes
    out.u16(4);  // bits per pixel
    out.u32(static_cast<std::uint32_t>(kImageBytes));
    out.u16(kIconImageId);
    return out.take();
}

}  // namespace vq::content
