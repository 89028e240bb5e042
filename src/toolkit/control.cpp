#include "toolkit/control.h"

#include "toolkit/form.h"
#include "toolkit/frame.h"

namespace tk {

Control::Control(Form& form, ControlKind kind, std::string name, Rect rect, bool visible,
                 Frame* container)
    : form_(form),
      kind_(kind),
      name_(std::move(name)),
      rect_(rect),
      visible_(visible),
      container_(container) {
    form_.register_control(*this);
}

Control::~Control() { form_.unregister_control(*this); }

Rect Control::form_rect() const {
    Rect r = rect_;
    for (const Frame* f = container_; f != nullptr; f = f->container()) {
        r.left += f->left();
        r.top += f->top();
    }
    return r;
}

void Control::set_left(double v) {
    rect_.left = v;
    changed();
}

void Control::set_top(double v) {
    rect_.top = v;
    changed();
}

void Control::set_width(double v) {
    rect_.width = v;
    width_changed();
    changed();
}

void Control::set_height(double v) {
    rect_.height = v;
    changed();
}

void Control::set_visible(bool v) {
    visible_ = v;
    changed();
}

void Control::set_enabled(bool v) {
    enabled_ = v;
    changed();
}

bool Control::takes_focus() const {
    switch (kind_) {
        case ControlKind::CommandButton:
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
        case ControlKind::HScrollBar:
        case ControlKind::ComboBox:
            return true;
        case ControlKind::Label:
        case ControlKind::Image:
        case ControlKind::PictureBox:
        case ControlKind::Frame:
            return false;
    }
    return false;
}

void Control::set_focus() {
    if (!takes_focus()) return;
    if (peer_ != nullptr && form_.loaded()) {
        peer_->focus();
    } else {
        raise_got_focus();
    }
}

bool Control::has_focus() const { return form_.focused() == this; }

void Control::attach_peer(std::unique_ptr<ControlPeer> peer) {
    peer_ = std::move(peer);
    if (peer_ != nullptr) peer_->sync();
}

void Control::raise_got_focus() {
    form_.note_focus(this);
    if (on_got_focus) on_got_focus();
}

void Control::changed() {
    if (peer_ != nullptr && form_.loaded()) peer_->sync();
}

}  // namespace tk
