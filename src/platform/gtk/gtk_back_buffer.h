// A form's persistent surface: an image in the form's pixels that keeps everything the
// program drew, painted to the window whenever GTK asks for a part of it.
#pragma once

#include "platform/gtk/gtk_owners.h"
#include "toolkit/types.h"

namespace gtkb {

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
};

PixelRect unite(const PixelRect& a, const PixelRect& b);
PixelRect intersect(const PixelRect& a, const PixelRect& b);

// 0x00BBGGRR as cairo's source colour.
void set_source_color(cairo_t* cairo, tk::Color color);

class BackBuffer {
  public:
    // Fits the buffer to a size and colour: a new colour starts it clean, a new size keeps
    // what was drawn. False when nothing changed (or no surface could be made).
    bool fit(int width, int height, tk::Color color);
    // An opaque copy of a picture surface at (x, y).
    void draw(cairo_surface_t* picture, int x, int y);
    // Paints the buffer onto a window's cairo context, in the form's pixels.
    void paint_to(cairo_t* cairo) const;
    int width() const { return width_; }
    int height() const { return height_; }
    bool ready() const { return surface_ != nullptr; }

  private:
    Surface surface_;
    int width_ = 0;
    int height_ = 0;
    tk::Color color_ = 0;
};

}  // namespace gtkb
