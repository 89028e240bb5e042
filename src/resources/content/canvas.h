// A grey canvas painted with a few soft shapes, from which the pictures are composed.
// Values are grey levels (0 black .. 255 white) held as floats until the picture is taken.
#pragma once

#include <cstdint>
#include <vector>

#include "resources/content/grey_image.h"

namespace vq::content {

// A shape's grey level, shaded across the shape: at the shape's left edge the level is
// value - tilt_x, at its right edge value + tilt_x (tilt_y likewise from top to bottom).
struct Shade {
    float value = 128;
    float tilt_x = 0;
    float tilt_y = 0;
};

class Canvas {
  public:
    Canvas(int width, int height, float value);

    int width() const { return width_; }
    int height() const { return height_; }

    // From one grey level at the top row to another at the bottom row.
    void vertical_gradient(float top, float bottom);
    // An ellipse centred on (cx, cy) with radii rx, ry in pixels; its edge fades out over
    // `soft` pixels; opacity 1 paints over what lies below.
    void ellipse(float cx, float cy, float rx, float ry, Shade shade, float soft,
                 float opacity = 1);
    // An axis-aligned rectangle from (left, top) to (right, bottom), edges faded likewise.
    void rect(float left, float top, float right, float bottom, Shade shade, float soft,
              float opacity = 1);
    // Darkens towards the corners: at the corners by `strength` of the level.
    void vignette(float strength);
    // Adds a fixed-seed film grain of up to `amount` levels either way.
    void grain(std::uint32_t seed, float amount);

    // The picture, each level rounded and held within [lowest, highest].
    GreyImage take(std::uint8_t lowest, std::uint8_t highest) const;

  private:
    float& at(int x, int y) { return levels_[static_cast<std::size_t>(y) * width_ + x]; }
    void paint(int x, int y, float level, float coverage);

    int width_;
    int height_;
    std::vector<float> levels_;
};

}  // namespace vq::content
