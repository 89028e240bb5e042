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
    if (loaded_) Form_MouseDown(button, shift, to_scale(x_px), to_scale(y_px));
}

void Form::raise_mouse_move(Int16 button, Int16 shift, double x_px, double y_px) {
    if (loaded_) Form_MouseMove(button, shift, to_scale(x_px), to_scale(y_px));
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
