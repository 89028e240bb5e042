#include "support/pixels.h"

#include <algorithm>
#include <stdexcept>

namespace vqtest {

Pixels::Pixels(Box area, std::vector<uint32_t> pixels) {
    if (area.width() <= 0 || area.height() <= 0 ||
        pixels.size() != static_cast<std::size_t>(area.width()) * area.height())
        return;
    area_ = area;
    pixels_ = std::move(pixels);
}

uint32_t Pixels::pixel(int x, int y) const {
    if (x < area_.left || y < area_.top || x >= area_.right || y >= area_.bottom)
        throw std::out_of_range("pixel outside the picture");
    return pixels_[static_cast<std::size_t>(y - area_.top) * width() + (x - area_.left)];
}

Box Pixels::clipped(const Box& area) const {
    return {std::max(area.left, area_.left), std::max(area.top, area_.top),
            std::min(area.right, area_.right), std::min(area.bottom, area_.bottom)};
}

int Pixels::count_other_than(uint32_t colour, const Box& area) const {
    const Box inside = clipped(area);
    int count = 0;
    for (int y = inside.top; y < inside.bottom; ++y)
        for (int x = inside.left; x < inside.right; ++x) count += pixel(x, y) != colour ? 1 : 0;
    return count;
}

bool Pixels::all(const Box& area, uint32_t colour) const {
    return !empty() && count_other_than(colour, area) == 0;
}

std::optional<Box> Pixels::drawn_bounds(const Box& area, uint32_t paper) const {
    const Box inside = clipped(area);
    std::optional<Box> bounds;
    for (int y = inside.top; y < inside.bottom; ++y)
        for (int x = inside.left; x < inside.right; ++x) {
            const uint32_t p = pixel(x, y);
            if (p == kBlack || p == paper) continue;
            if (!bounds) bounds = Box{x, y, x + 1, y + 1};
            bounds->left = std::min(bounds->left, x);
            bounds->right = std::max(bounds->right, x + 1);
            bounds->bottom = y + 1;
        }
    return bounds;
}

}  // namespace vqtest
