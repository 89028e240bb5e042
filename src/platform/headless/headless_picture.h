// The headless backend's picture: its pixels in memory, top-down.
#pragma once

#include <vector>

#include "toolkit/picture.h"
#include "toolkit/types.h"

namespace headless {

class HeadlessPicture : public tk::Picture {
  public:
    // top_down holds w * h colours, row by row from the top.
    HeadlessPicture(int w, int h, std::vector<tk::Color> top_down);

    int width_px() const override { return width_; }
    int height_px() const override { return height_; }
    tk::Color pixel(int x, int y) const;

  private:
    int width_;
    int height_;
    std::vector<tk::Color> pixels_;
};

}  // namespace headless
