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
    for (int y = 0; y < source.height_px(); ++y) {
        const int ty = y_px + y;
        if (ty < 0 || ty >= surface_height_) continue;
        for (int x = 0; x < source.width_px(); ++x) {
            const int tx = x_px + x;
            if (tx < 0 || tx >= surface_width_) continue;
            surface_[static_cast<std::size_t>(ty) * surface_width_ + tx] = source.pixel(x, y);
        }
    }
}

tk::Color HeadlessFormPeer::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= surface_width_ || y >= surface_height_) return surface_color_;
    return surface_[static_cast<std::size_t>(y) * surface_width_ + x];
}

void HeadlessFormPeer::fit_surface() {
    const int width = form_.width_px();
    const int height = form_.height_px();
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
