#include "resources/content/canvas.h"

#include <algorithm>
#include <cmath>

namespace vq::content {
namespace {

// 0 at or below edge0, 1 at or above edge1, smooth in between.
float smoothstep(float edge0, float edge1, float x) {
    if (edge1 <= edge0) return x < edge0 ? 0.0f : 1.0f;
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

// The level of a shade at a point given in the shape's own -1..1 coordinates.
float level_at(Shade shade, float nx, float ny) {
    return shade.value + shade.tilt_x * nx + shade.tilt_y * ny;
}

}  // namespace

Canvas::Canvas(int width, int height, float value)
    : width_(width), height_(height), levels_(static_cast<std::size_t>(width) * height, value) {}

void Canvas::paint(int x, int y, float level, float coverage) {
    float& here = at(x, y);
    here += (level - here) * coverage;
}

void Canvas::vertical_gradient(float top, float bottom) {
    for (int y = 0; y < height_; ++y) {
        const float t = height_ > 1 ? static_cast<float>(y) / (height_ - 1) : 0.0f;
        for (int x = 0; x < width_; ++x) at(x, y) = top + (bottom - top) * t;
    }
}

void Canvas::ellipse(float cx, float cy, float rx, float ry, Shade shade, float soft,
                     float opacity) {
    if (rx <= 0 || ry <= 0) return;
    const int x0 = std::max(0, static_cast<int>(std::floor(cx - rx - soft)));
    const int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(cx + rx + soft)));
    const int y0 = std::max(0, static_cast<int>(std::floor(cy - ry - soft)));
    const int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(cy + ry + soft)));
    const float r = std::min(rx, ry);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float nx = (x + 0.5f - cx) / rx;
            const float ny = (y + 0.5f - cy) / ry;
            // Distance outside the edge, roughly in pixels.
            const float outside = (std::sqrt(nx * nx + ny * ny) - 1) * r;
            const float coverage = 1 - smoothstep(-soft / 2, soft / 2, outside);
            if (coverage > 0) paint(x, y, level_at(shade, nx, ny), coverage * opacity);
        }
    }
}

void Canvas::rect(float left, float top, float right, float bottom, Shade shade, float soft,
                  float opacity) {
    const int x0 = std::max(0, static_cast<int>(std::floor(left - soft)));
    const int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(right + soft)));
    const int y0 = std::max(0, static_cast<int>(std::floor(top - soft)));
    const int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(bottom + soft)));
    const float cx = (left + right) / 2;
    const float cy = (top + bottom) / 2;
    const float hw = std::max((right - left) / 2, 0.5f);
    const float hh = std::max((bottom - top) / 2, 0.5f);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float px = x + 0.5f;
            const float py = y + 0.5f;
            const float outside = std::max(std::abs(px - cx) - hw, std::abs(py - cy) - hh);
            const float coverage = 1 - smoothstep(-soft / 2, soft / 2, outside);
            if (coverage > 0)
                paint(x, y, level_at(shade, (px - cx) / hw, (py - cy) / hh), coverage * opacity);
        }
    }
}

void Canvas::vignette(float strength) {
    const float cx = width_ / 2.0f;
    const float cy = height_ / 2.0f;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const float nx = (x + 0.5f - cx) / cx;
            const float ny = (y + 0.5f - cy) / cy;
            const float d = (nx * nx + ny * ny) / 2;  // 1 at the corners
            at(x, y) *= 1 - strength * d * d;
        }
    }
}

void Canvas::grain(std::uint32_t seed, float amount) {
    std::uint32_t state = seed * 2654435761u + 1;
    for (float& level : levels_) {
        // xorshift32: small, fast and the same on every compiler.
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const float unit = static_cast<float>(state & 0xFFFF) / 0xFFFF;  // 0..1
        level += (unit * 2 - 1) * amount;
    }
}

GreyImage Canvas::take(std::uint8_t lowest, std::uint8_t highest) const {
    GreyImage image{width_, height_, {}};
    image.pixels.reserve(levels_.size());
    for (float level : levels_) {
        const float held =
            std::clamp(std::round(level), static_cast<float>(lowest), static_cast<float>(highest));
        image.pixels.push_back(static_cast<std::uint8_t>(held));
    }
    return image;
}

}  // namespace vq::content
