// genicons OUTPUT_FOLDER: writes the program's icon as PNG files of the desktop's icon theme,
// OUTPUT_FOLDER/hicolor/NxN/apps/vqsaver.png for each size N from 16 to 256.
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "resources/content/icon.h"

namespace {

namespace content = vq::content;

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The icon at size x size pixels, RGB rows top-down. Each pixel is the average of the icon's
// area it covers: whole multiples of 32 stay sharp, smaller sizes blend neighbours evenly.
std::vector<unsigned char> scaled_icon(int size) {
    const auto indices = content::icon_indices();
    std::vector<unsigned char> rgb(static_cast<std::size_t>(size * size * 3));
    const double step = static_cast<double>(content::kIconSize) / size;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double sum[3] = {0, 0, 0}, area = 0;
            for (int sy = 0; sy < content::kIconSize; ++sy) {
                const double h =
                    std::min(sy + 1.0, (y + 1) * step) - std::max<double>(sy, y * step);
                if (h <= 0) continue;
                for (int sx = 0; sx < content::kIconSize; ++sx) {
                    const double w =
                        std::min(sx + 1.0, (x + 1) * step) - std::max<double>(sx, x * step);
                    if (w <= 0) continue;
                    const content::Rgb c = content::kIconPalette[indices[static_cast<std::size_t>(
                        sy * content::kIconSize + sx)]];
                    sum[0] += c.r * w * h;
                    sum[1] += c.g * w * h;
                    sum[2] += c.b * w * h;
                    area += w * h;
                }
            }
            for (int i = 0; i < 3; ++i)
                rgb[static_cast<std::size_t>((y * size + x) * 3 + i)] =
                    static_cast<unsigned char>(sum[i] / area + 0.5);
        }
    }
    return rgb;
}

bool write_png(const std::string& path, int size, const std::vector<unsigned char>& rgb) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool ok = info != nullptr && setjmp(png_jmpbuf(png)) == 0;
    if (ok) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(size), static_cast<png_uint_32>(size), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < size; ++y)
            png_write_row(png, rgb.data() + static_cast<std::ptrdiff_t>(y) * size * 3);
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: genicons OUTPUT_FOLDER\n");
        return 2;
    }
    for (const int size : kSizes) {
        const std::string folder = std::string(argv[1]) + "/hicolor/" + std::to_string(size) + "x" +
                                   std::to_string(size) + "/apps";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (!write_png(folder + "/vqsaver.png", size, scaled_icon(size))) {
            std::fprintf(stderr, "genicons: cannot write %s/vqsaver.png\n", folder.c_str());
            return 1;
        }
    }
    return 0;
}
