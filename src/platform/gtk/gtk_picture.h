// A picture of the GTK backend: its colours in memory and, once it has been drawn, a cairo
// image surface made from them that every later draw paints from.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gtk/gtk_owners.h"
#include "toolkit/picture.h"

namespace gtkb {

class GtkPicture : public tk::Picture {
  public:
    // top_down holds w * h colours (0x00BBGGRR), row by row from the top.
    GtkPicture(int w, int h, std::vector<std::uint32_t> top_down)
        : width_(w), height_(h), pixels_(std::move(top_down)) {}

    int width_px() const override { return width_; }
    int height_px() const override { return height_; }
    // Made on first use and kept; null for a picture with no pixels.
    cairo_surface_t* surface() const;
    // A new pixbuf of the picture for the caller to release; null for a picture with no pixels.
    GdkPixbuf* new_pixbuf() const;

  private:
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
    mutable Surface surface_;
};

}  // namespace gtkb
