#include "platform/headless/headless_picture.h"

#include <cstddef>
#include <utility>

namespace headless {

HeadlessPicture::HeadlessPicture(int w, int h, std::vector<tk::Color> top_down)
    : width_(w), height_(h), pixels_(std::move(top_down)) {
    // A short pixel list reads as black beyond its end rather than past the buffer.
    pixels_.resize(static_cast<std::size_t>(w) * h, tk::kBlack);
}

tk::Color HeadlessPicture::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return tk::kBlack;
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

}  // namespace headless
