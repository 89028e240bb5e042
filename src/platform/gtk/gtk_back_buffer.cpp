#include "platform/gtk/gtk_back_buffer.h"

#include <algorithm>
#include <cstring>

namespace gtkb {

void set_source_color(cairo_t* cairo, tk::Color color) {
    cairo_set_source_rgb(cairo, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                         ((color >> 16) & 0xFF) / 255.0);
}

void copy_pixels(cairo_surface_t* from, const PixelRect& area, cairo_surface_t* to, int to_x,
                 int to_y) {
    if (from == nullptr || to == nullptr ||
        cairo_image_surface_get_format(from) != CAIRO_FORMAT_RGB24 ||
        cairo_image_surface_get_format(to) != CAIRO_FORMAT_RGB24)
        return;
    // The part of the area inside the source whose place lies inside the target.
    const PixelRect source =
        intersect(intersect(area, {0, 0, cairo_image_surface_get_width(from),
                                   cairo_image_surface_get_height(from)}),
                  {area.left - to_x, area.top - to_y, cairo_image_surface_get_width(to),
                   cairo_image_surface_get_height(to)});
    if (source.empty()) return;
    cairo_surface_flush(from);
    cairo_surface_flush(to);
    const int from_stride = cairo_image_surface_get_stride(from);
    const int to_stride = cairo_image_surface_get_stride(to);
    const unsigned char* in = cairo_image_surface_get_data(from) +
                              static_cast<std::ptrdiff_t>(source.top) * from_stride +
                              source.left * 4;
    unsigned char* out = cairo_image_surface_get_data(to) +
                         static_cast<std::ptrdiff_t>(source.top + to_y - area.top) * to_stride +
                         (source.left + to_x - area.left) * 4;
    for (int row = 0; row < source.height; ++row)
        std::memcpy(out + static_cast<std::ptrdiff_t>(row) * to_stride,
                    in + static_cast<std::ptrdiff_t>(row) * from_stride,
                    static_cast<std::size_t>(source.width) * 4);
    cairo_surface_mark_dirty_rectangle(to, source.left + to_x - area.left,
                                       source.top + to_y - area.top, source.width, source.height);
}

bool BackBuffer::fit(int width, int height, tk::Color color) {
    width = std::max(1, width);
    height = std::max(1, height);
    if (surface_ && width == width_ && height == height_ && color == color_) return false;
    Surface fresh(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
    if (cairo_surface_status(fresh.get()) != CAIRO_STATUS_SUCCESS) return false;
    Cairo cairo(cairo_create(fresh.get()));
    set_source_color(cairo.get(), color);
    cairo_paint(cairo.get());
    if (surface_ && color == color_) {
        cairo_set_source_surface(cairo.get(), surface_.get(), 0, 0);
        cairo_rectangle(cairo.get(), 0, 0, std::min(width, width_), std::min(height, height_));
        cairo_fill(cairo.get());
    }
    surface_ = std::move(fresh);
    width_ = width;
    height_ = height;
    color_ = color;
    return true;
}

void BackBuffer::draw(cairo_surface_t* picture, int x, int y) {
    if (!surface_ || picture == nullptr) return;
    copy_pixels(picture,
                {0, 0, cairo_image_surface_get_width(picture),
                 cairo_image_surface_get_height(picture)},
                surface_.get(), x, y);
}

void BackBuffer::copy_to(cairo_surface_t* image, const PixelRect& area) const {
    if (surface_) copy_pixels(surface_.get(), area, image, area.left, area.top);
}

void BackBuffer::paint_to(cairo_t* cairo) const {
    if (!surface_) return;
    cairo_save(cairo);
    cairo_set_operator(cairo, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cairo, surface_.get(), 0, 0);
    // One buffer pixel per device pixel: never smoothed.
    cairo_pattern_set_filter(cairo_get_source(cairo), CAIRO_FILTER_NEAREST);
    cairo_rectangle(cairo, 0, 0, width_, height_);
    cairo_fill(cairo);
    cairo_restore(cairo);
}

}  // namespace gtkb
