#include "platform/gtk/gtk_back_buffer.h"

#include <algorithm>

namespace gtkb {

PixelRect unite(const PixelRect& a, const PixelRect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    const int left = std::min(a.x, b.x);
    const int top = std::min(a.y, b.y);
    const int right = std::max(a.x + a.width, b.x + b.width);
    const int bottom = std::max(a.y + a.height, b.y + b.height);
    return {left, top, right - left, bottom - top};
}

PixelRect intersect(const PixelRect& a, const PixelRect& b) {
    const int left = std::max(a.x, b.x);
    const int top = std::max(a.y, b.y);
    const int right = std::min(a.x + a.width, b.x + b.width);
    const int bottom = std::min(a.y + a.height, b.y + b.height);
    if (right <= left || bottom <= top) return {};
    return {left, top, right - left, bottom - top};
}

void set_source_color(cairo_t* cairo, tk::Color color) {
    cairo_set_source_rgb(cairo, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                         ((color >> 16) & 0xFF) / 255.0);
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
    Cairo cairo(cairo_create(surface_.get()));
    cairo_set_operator(cairo.get(), CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cairo.get(), picture, x, y);
    cairo_rectangle(cairo.get(), x, y, cairo_image_surface_get_width(picture),
                    cairo_image_surface_get_height(picture));
    cairo_fill(cairo.get());
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
