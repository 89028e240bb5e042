// A form in memory: whether it is shown, top-most or modal, and a persistent pixel surface
// that keeps everything drawn on it.
#pragma once

#include <vector>

#include "toolkit/form.h"
#include "toolkit/peers.h"

namespace headless {

class HeadlessFormPeer : public tk::FormPeer {
public:
    explicit HeadlessFormPeer(tk::Form& form) : form_(form) {}

    std::unique_ptr<tk::ControlPeer> create_control_peer(tk::Control& control) override;
    void sync() override;
    void show(tk::Modality modality, tk::Form* owner) override;
    void hide() override;
    void place_topmost(int left_px, int top_px, int width_px, int height_px) override;
    void draw_picture(const tk::Picture& picture, int x_px, int y_px) override;
    void destroy() override { destroyed_ = true; }

    bool shown() const { return shown_; }
    bool topmost() const { return topmost_; }
    bool destroyed() const { return destroyed_; }
    tk::Form* owner() const { return owner_; }
    int pictures_drawn() const { return pictures_drawn_; }
    // The surface, the size of the window's client area in pixels.
    int surface_width() const { return surface_width_; }
    int surface_height() const { return surface_height_; }
    tk::Color pixel(int x, int y) const;

private:
    // A new size or back colour starts a clean surface in the back colour.
    void fit_surface();

    tk::Form& form_;
    bool shown_ = false;
    bool topmost_ = false;
    bool destroyed_ = false;
    tk::Form* owner_ = nullptr;
    int pictures_drawn_ = 0;
    int surface_width_ = 0;
    int surface_height_ = 0;
    tk::Color surface_color_ = 0;
    std::vector<tk::Color> surface_;
};

// Controls need nothing in memory beyond their own state; focus goes straight to them.
class HeadlessControlPeer : public tk::ControlPeer {
public:
    explicit HeadlessControlPeer(tk::Control& control) : control_(control) {}
    void sync() override { ++syncs_; }
    void focus() override;
    int syncs() const { return syncs_; }

private:
    tk::Control& control_;
    int syncs_ = 0;
};

}  // namespace headless
