// The controls whose only logic is their own state.
#include "toolkit/check_box.h"
#include "toolkit/combo_box.h"
#include "toolkit/command_button.h"
#include "toolkit/form.h"
#include "toolkit/frame.h"
#include "toolkit/image_control.h"
#include "toolkit/option_button.h"
#include "toolkit/picture_box.h"
#include "toolkit/scroll_bar.h"

#include <algorithm>
#include <cmath>

namespace tk {

ImageControl::ImageControl(Form& form, ImageDesign d)
    : Control(form, ControlKind::Image, std::move(d.name), d.rect, d.visible, d.container),
      stretch_(d.stretch) {}

void ImageControl::set_picture(PicturePtr picture) {
    picture_ = std::move(picture);
    fit_to_picture();
    changed();
}

void ImageControl::fit_to_picture() {
    if (stretch_) return;
    const double tpp = form().twips_per_pixel();
    set_size_silently(picture_ ? picture_->width_px() * tpp : 0,
                      picture_ ? picture_->height_px() * tpp : 0);
}

PictureBox::PictureBox(Form& form, PictureBoxDesign d)
    : Control(form, ControlKind::PictureBox, std::move(d.name), d.rect, d.visible, d.container),
      auto_size_(d.auto_size),
      back_color_(d.back_color) {}

void PictureBox::set_picture(PicturePtr picture) {
    picture_ = std::move(picture);
    fit_to_picture();
    changed();
}

void PictureBox::set_auto_size(bool v) {
    auto_size_ = v;
    fit_to_picture();
    changed();
}

void PictureBox::fit_to_picture() {
    if (!auto_size_ || picture_ == nullptr) return;
    const double tpp = form().twips_per_pixel();
    set_size_silently(picture_->width_px() * tpp, picture_->height_px() * tpp);
}

// In pixels a whole number: the picture's own size when the box fits it.
double PictureBox::scale_width() const {
    return scale_mode_ == ScaleMode::Pixels ? std::round(width() / form().twips_per_pixel())
                                            : width();
}

double PictureBox::scale_height() const {
    return scale_mode_ == ScaleMode::Pixels ? std::round(height() / form().twips_per_pixel())
                                            : height();
}

Frame::Frame(Form& form, FrameDesign d)
    : Control(form, ControlKind::Frame, std::move(d.name), d.rect, d.visible, nullptr),
      caption_(std::move(d.caption)) {}

CommandButton::CommandButton(Form& form, CommandButtonDesign d)
    : Control(form, ControlKind::CommandButton, std::move(d.name), d.rect, d.visible, nullptr),
      caption_(std::move(d.caption)),
      is_default_(d.is_default),
      is_cancel_(d.is_cancel) {}

void CommandButton::press() {
    if (enabled() && on_click) on_click();
}

CheckBox::CheckBox(Form& form, CheckBoxDesign d)
    : Control(form, ControlKind::CheckBox, std::move(d.name), d.rect, d.visible, d.container),
      caption_(std::move(d.caption)),
      value_(d.value != 0 ? 1 : 0) {}

void CheckBox::set_value(Int16 v) {
    const Int16 normalised = v != 0 ? 1 : 0;
    if (normalised == value_) return;
    value_ = normalised;
    changed();
    if (on_click) on_click();
}

void CheckBox::toggle_by_user() { set_value(value_ == 0 ? 1 : 0); }

OptionButton::OptionButton(Form& form, OptionButtonDesign d)
    : Control(form, ControlKind::OptionButton, std::move(d.name), d.rect, d.visible,
              d.container),
      index_(d.index),
      caption_(std::move(d.caption)) {}

void OptionButton::set_value(bool v) {
    if (v) {
        for (Control* other : form().controls()) {
            if (other != this && other->kind() == ControlKind::OptionButton &&
                other->container() == container()) {
                auto* option = static_cast<OptionButton*>(other);
                if (option->value_) {
                    option->value_ = false;
                    option->changed();
                }
            }
        }
    }
    value_ = v;
    changed();
}

HScrollBar::HScrollBar(Form& form, HScrollBarDesign d)
    : Control(form, ControlKind::HScrollBar, std::move(d.name), d.rect, true, d.container),
      min_(d.min),
      max_(d.max),
      small_change_(d.small_change),
      large_change_(d.large_change),
      value_(d.min) {}

void HScrollBar::set_value(Int16 v) {
    const Int16 clamped = std::clamp(v, std::min(min_, max_), std::max(min_, max_));
    if (clamped == value_) return;
    value_ = clamped;
    changed();
    if (on_change) on_change();
}

ComboBox::ComboBox(Form& form, ComboBoxDesign d)
    : Control(form, ControlKind::ComboBox, std::move(d.name), d.rect, true, d.container) {}

void ComboBox::add_item(std::string text) {
    items_.push_back(std::move(text));
    changed();
}

void ComboBox::set_list_index(int index) {
    const int valid = index >= 0 && index < static_cast<int>(items_.size()) ? index : -1;
    if (valid == list_index_) return;
    list_index_ = valid;
    changed();
    if (on_click) on_click();
}

}  // namespace tk
