// A form's persistent surface: an image in the form's pixels that keeps everything the
// program drew, painted to the window whenever GTK asks for a part of it.
#pragma once

#include "platform/gtk/gtk_owners.h"
#include "toolkit/types.h"

namespace gtkb {

using tk::intersect;
using tk::PixelRect;
using tk::unite;

// 0x00BBGGRR as cairo's source colour.
void set_source_color(cairo_t* cairo, tk::Color color);

// Copies an area of one RGB24 image onto another at (to_x, to_y), as far as both reach: a
// plain copy of rows, cheaper per tick than setting up cairo.
void copy_pixels(cairo_surface_t* from, const PixelRect& area, cairo_surface_t* to, int to_x,
                 int to_y);

class BackBuffer {
  public:
    // Fits the buffer to a size and colour: a new colour starts it clean, a new size keeps
    // what was drawn. False when nothing changed (or no surface could be made).
    bool fit(int width, int height, tk::Color color);
    // An opaque copy of a picture surface at (x, y).
    void draw(cairo_surface_t* picture, int x, int y);
    // Paints the buffer onto a window's cairo context, in the form's pixels.
    void paint_to(cairo_t* cairo) const;
    // Copies an area of the buffer onto the same area of an RGB24 image.
    void copy_to(cairo_surface_t* image, const PixelRect& area) const;
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
