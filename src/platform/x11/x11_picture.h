// A picture of the X11 backend: its grey levels in memory, and once it has been drawn, a
// pixmap on the server that every later draw copies from.
#pragma once

#include "platform/x11/xlib.h"

// The toolkit's headers come before Xlib's, whose macros (None, Bool, Status) would
// otherwise rename their enumerators.

#include <cstdint>
#include <vector>

#include "toolkit/picture.h"

namespace x11 {

class X11Picture : public tk::Picture {
  public:
    // top_down holds w * h colours (0x00BBGGRR), row by row from the top.
    X11Picture(int w, int h, std::vector<std::uint32_t> top_down)
        : width_(w), height_(h), pixels_(std::move(top_down)) {}

    int width_px() const override { return width_; }
    int height_px() const override { return height_; }
    const std::vector<std::uint32_t>& pixels() const { return pixels_; }

    // The server's copy, made by the toolkit on first use and freed by it at the end.
    Pixmap pixmap() const { return pixmap_; }
    void set_pixmap(Pixmap pixmap) const { pixmap_ = pixmap; }

  private:
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
    mutable Pixmap pixmap_ = None;
};

}  // namespace x11
