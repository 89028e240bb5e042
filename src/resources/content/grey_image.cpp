#include "resources/content/grey_image.h"

#include "resources/content/byte_writer.h"

namespace vq::content {

std::vector<std::uint8_t> bmp_file(const GreyImage& image, ColourCounts counts) {
    const std::size_t stride = bmp_stride(image.width);
    const std::size_t pixel_bytes = stride * static_cast<std::size_t>(image.height);
    const std::size_t offset = kFileHeaderSize + kInfoHeaderSize + kPaletteSize;
    const std::uint32_t colours = counts == ColourCounts::Explicit256 ? 256 : 0;

    ByteWriter out;
    out.u8('B');
    out.u8('M');
    out.u32(static_cast<std::uint32_t>(offset + pixel_bytes));
    out.u32(0);  // reserved
    out.u32(static_cast<std::uint32_t>(offset));

    out.u32(kInfoHeaderSize);
    out.u32(static_cast<std::uint32_t>(image.width));
    out.u32(static_cast<std::uint32_t>(image.height));  // positive: rows stored bottom-up
    out.u16(1);                                         // planes
    out.u16(8);                                         // bits per pixel
    out.u32(0);                                         // no compression
    out.u32(static_cast<std::uint32_t>(pixel_bytes));
    out.u32(0);  // horizontal resolution
    out.u32(0);  // vertical resolution
    out.u32(colours);
    out.u32(colours);

    for (int k = 0; k < 256; ++k) {
        const auto grey = static_cast<std::uint8_t>(k);
        out.u8(grey);
        out.u8(grey);
        out.u8(grey);
        out.u8(0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) out.u8(image.at(x, y));
        for (std::size_t pad = image.width; pad < stride; ++pad) out.u8(0);
    }
    return out.take();
}

}  // namespace vq::content
