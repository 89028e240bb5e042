#include "platform/headless/headless_form_peer.h"

#include <cmath>

#include "platform/headless/headless_picture.h"
#include "toolkit/control.h"

namespace headless {

std::unique_ptr<tk::ControlPeer> HeadlessFormPeer::create_control_peer(tk::Control& control) {
    return std::make_unique<HeadlessControlPeer>(control);
}

void HeadlessFormPeer::sync() { fit_surface(); }

void HeadlessFormPeer::show(tk::Modality modality, tk::Form* owner) {
    shown_ = true;
    if (modality == tk::Modality::Modal) owner_ = owner;
    fit_surface();
}

void HeadlessFormPeer::hide() { shown_ = false; }

void HeadlessFormPeer::place_topmost(int, int, int, int) {
    topmost_ = true;
    shown_ = true;
    fit_surface();
}

void HeadlessFormPeer::draw_picture(const tk::Picture& picture, int x_px, int y_px) {
    ++pictures_drawn_;
    fit_surface();
    const auto& source = static_cast<const HeadlessPicture&>(picture);
    const tk::PixelRect where = form_.to_view(x_px, y_px, source.width_px(), source.height_px());
    if (where.width <= 0 || where.height <= 0) return;
    // Each pixel of the window takes the picture's pixel under its top-left corner.
    for (int y = 0; y < where.height; ++y) {
        const int ty = where.top + y;
        if (ty < 0 || ty >= surface_height_) continue;
        const int sy = y * source.height_px() / where.height;
        for (int x = 0; x < where.width; ++x) {
            const int tx = where.left + x;
            if (tx < 0 || tx >= surface_width_) continue;
            surface_[static_cast<std::size_t>(ty) * surface_width_ + tx] =
                source.pixel(x * source.width_px() / where.width, sy);
        }
    }
}

tk::Color HeadlessFormPeer::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= surface_width_ || y >= surface_height_) return surface_color_;
    return surface_[static_cast<std::size_t>(y) * surface_width_ + x];
}

void HeadlessFormPeer::fit_surface() {
    const int width = form_.view_width();
    const int height = form_.view_height();
    if (width == surface_width_ && height == surface_height_ &&
        form_.back_color() == surface_color_ && !surface_.empty())
        return;
    surface_width_ = width;
    surface_height_ = height;
    surface_color_ = form_.back_color();
    surface_.assign(static_cast<std::size_t>(width) * height, surface_color_);
}

void HeadlessControlPeer::focus() { control_.raise_got_focus(); }

}  // namespace headless
