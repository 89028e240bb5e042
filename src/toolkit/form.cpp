#include "toolkit/form.h"

#include <algorithm>
#include <cmath>

#include "toolkit/command_button.h"
#include "toolkit/control.h"
#include "toolkit/timer.h"
#include "toolkit/toolkit.h"

namespace tk {

Form::Form(Toolkit& toolkit, FormDesign design)
    : toolkit_(toolkit),
      design_(std::move(design)),
      caption_(design_.caption),
      back_color_(design_.back_color),
      key_preview_(design_.key_preview),
      width_(design_.client_width),
      height_(design_.client_height) {}

Form::~Form() {
    if (loaded_) {
        loaded_ = false;
        peer_->destroy();
        toolkit_.form_unloaded(*this);
    }
}

void Form::load() {
    if (loaded_ || peer_ != nullptr) return;
    peer_ = toolkit_.create_form_peer(*this);
    loaded_ = true;
    toolkit_.form_loaded(*this);
    for (Control* control : controls_) control->attach_peer(peer_->create_control_peer(*control));
    for (Timer* timer : timers_) timer->attach_peer(toolkit_.create_timer_peer(*timer));
    Form_Load();
}

void Form::show() {
    load();
    if (!loaded_) return;
    visible_ = true;
    peer_->show(Modality::Modeless, nullptr);
}

void Form::show_modal(Form& owner) {
    load();
    if (!loaded_) return;
    visible_ = true;
    modal_ = true;
    peer_->show(Modality::Modal, &owner);
}

void Form::hide() {
    if (!loaded_) return;
    visible_ = false;
    peer_->hide();
}

void Form::unload() {
    if (!loaded_) return;
    Int16 cancel = 0;
    Form_Unload(cancel);
    if (cancel != 0 || !loaded_) return;
    loaded_ = false;
    visible_ = false;
    for (Timer* timer : timers_) timer->changed();
    peer_->destroy();
    toolkit_.form_unloaded(*this);
}

void Form::set_caption(std::string caption) {
    caption_ = std::move(caption);
    sync();
}

void Form::set_back_color(Color color) {
    back_color_ = color;
    sync();
}

void Form::set_key_preview(bool on) {
    key_preview_ = on;
    sync();
}

void Form::set_width(double twips) {
    width_ = twips;
    sync();
}

void Form::set_height(double twips) {
    height_ = twips;
    sync();
}

void Form::move(double left, double top) {
    left_ = left;
    top_ = top;
    sync();
}

int Form::width_px() const { return static_cast<int>(std::lround(width_ / twips_per_pixel())); }

int Form::height_px() const {
    return static_cast<int>(std::lround(height_ / twips_per_pixel()));
}

double Form::scale_width() const { return scale_mode_ == ScaleMode::Pixels ? width_px() : width_; }

double Form::scale_height() const {
    return scale_mode_ == ScaleMode::Pixels ? height_px() : height_;
}

int Form::dpi() const { return dpi_ > 0 ? dpi_ : toolkit_.screen().dpi; }

double Form::twips_per_pixel() const { return 1440.0 / dpi(); }

int Form::view_width() const { return miniature() ? view_width_ : width_px(); }

int Form::view_height() const { return miniature() ? view_height_ : height_px(); }

double Form::view_scale() const {
    const int width = width_px();
    const int height = height_px();
    if (!miniature() || width <= 0 || height <= 0) return 1;
    return std::min(static_cast<double>(view_width_) / width,
                    static_cast<double>(view_height_) / height);
}

int Form::view_margin_x() const {
    return (view_width() - static_cast<int>(std::lround(width_px() * view_scale()))) / 2;
}

int Form::view_margin_y() const {
    return (view_height() - static_cast<int>(std::lround(height_px() * view_scale()))) / 2;
}

PixelRect Form::to_view(double left_px, double top_px, double width_px, double height_px) const {
    const double scale = view_scale();
    const int margin_x = view_margin_x();
    const int margin_y = view_margin_y();
    auto at = [scale](double px) { return static_cast<int>(std::lround(px * scale)); };
    // One to one, each length is rounded alone, as every window places its controls; scaled,
    // the far edges are rounded instead, so what stands inside the form stays inside it.
    if (scale == 1)
        return {margin_x + at(left_px), margin_y + at(top_px), at(width_px), at(height_px)};
    const int left = at(left_px);
    const int top = at(top_px);
    return {margin_x + left, margin_y + top, at(left_px + width_px) - left,
            at(top_px + height_px) - top};
}

PixelRect Form::to_view(const Rect& twips) const {
    const double tpp = twips_per_pixel();
    return to_view(twips.left / tpp, twips.top / tpp, twips.width / tpp, twips.height / tpp);
}

int Form::view_dpi() const {
    return std::max(1, static_cast<int>(std::lround(dpi() * view_scale())));
}

double Form::from_view_x(double px) const { return (px - view_margin_x()) / view_scale(); }

double Form::from_view_y(double px) const { return (px - view_margin_y()) / view_scale(); }

void Form::place_topmost_over_screen() {
    const Screen screen = toolkit_.screen();
    place_topmost_over({0, 0, screen.width_px, screen.height_px, true});
}

void Form::place_topmost_over(const Monitor& monitor) {
    if (!loaded_) return;
    const double tpp = twips_per_pixel();
    left_ = monitor.left * tpp;
    top_ = monitor.top * tpp;
    width_ = monitor.width * tpp;
    height_ = monitor.height * tpp;
    visible_ = true;
    peer_->place_topmost(monitor.left, monitor.top, monitor.width, monitor.height);
}

void Form::paint_picture(const Picture& picture, double x, double y) {
    if (!loaded_) return;
    const double tpp = scale_mode_ == ScaleMode::Pixels ? 1.0 : twips_per_pixel();
    peer_->draw_picture(picture, static_cast<int>(std::lround(x / tpp)),
                        static_cast<int>(std::lround(y / tpp)));
}

void Form::set_tab_order(std::initializer_list<Control*> order) { tab_order_ = order; }

CommandButton* Form::default_button() const {
    for (Control* control : controls_) {
        if (control->kind() == ControlKind::CommandButton &&
            static_cast<CommandButton*>(control)->is_default())
            return static_cast<CommandButton*>(control);
    }
    return nullptr;
}

CommandButton* Form::cancel_button() const {
    for (Control* control : controls_) {
        if (control->kind() == ControlKind::CommandButton &&
            static_cast<CommandButton*>(control)->is_cancel())
            return static_cast<CommandButton*>(control);
    }
    return nullptr;
}

void Form::raise_key_down(Int16 key_code, Int16 shift) {
    if (loaded_ && (key_preview_ || focused_ == nullptr)) Form_KeyDown(key_code, shift);
}

void Form::raise_key_press(Int16 key_ascii) {
    if (loaded_ && (key_preview_ || focused_ == nullptr)) Form_KeyPress(key_ascii);
}

void Form::raise_mouse_down(Int16 button, Int16 shift, double x_px, double y_px) {
    if (loaded_)
        Form_MouseDown(button, shift, to_scale(from_view_x(x_px)), to_scale(from_view_y(y_px)));
}

void Form::raise_mouse_move(Int16 button, Int16 shift, double x_px, double y_px) {
    if (loaded_)
        Form_MouseMove(button, shift, to_scale(from_view_x(x_px)), to_scale(from_view_y(y_px)));
}

void Form::raise_click() {
    if (loaded_) Form_Click();
}

void Form::raise_dbl_click() {
    if (loaded_) Form_DblClick();
}

void Form::raise_dpi_changed(int dpi) {
    if (!loaded_ || dpi <= 0) return;
    dpi_ = dpi;
    for (Control* control : controls_) control->fit_to_dpi();
    sync();
}

void Form::set_view_size(int width_px, int height_px) {
    // A window with no area (folded away, say) keeps the last layout.
    if (width_px <= 0 || height_px <= 0) return;
    view_width_ = width_px;
    view_height_ = height_px;
    sync();
}

void Form::press_default_button() {
    if (CommandButton* button = default_button(); loaded_ && button != nullptr) button->press();
}

void Form::press_cancel_button() {
    if (CommandButton* button = cancel_button(); loaded_ && button != nullptr) button->press();
}

void Form::register_control(Control& control) { controls_.push_back(&control); }

void Form::unregister_control(Control& control) { std::erase(controls_, &control); }

void Form::register_timer(Timer& timer) { timers_.push_back(&timer); }

void Form::unregister_timer(Timer& timer) { std::erase(timers_, &timer); }

void Form::sync() {
    if (loaded_) peer_->sync();
}

float Form::to_scale(double px) const {
    return static_cast<float>(scale_mode_ == ScaleMode::Pixels ? px : px * twips_per_pixel());
}

}  // namespace tk
