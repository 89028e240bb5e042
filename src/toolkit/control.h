// The base of every control: geometry in twips, visibility, focus, and its backend peer.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "toolkit/peers.h"
#include "toolkit/types.h"

namespace tk {

class Form;
class Frame;

enum class ControlKind {
    Label,
    Image,
    PictureBox,
    Frame,
    CommandButton,
    CheckBox,
    OptionButton,
    HScrollBar,
    ComboBox
};

class Control {
public:
    Control(Form& form, ControlKind kind, std::string name, Rect rect, bool visible,
            Frame* container);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    Form& form() const { return form_; }
    // The frame the control stands in, or null when it stands on the form itself.
    Frame* container() const { return container_; }

    // Geometry in twips, relative to the container's client area.
    double left() const { return rect_.left; }
    double top() const { return rect_.top; }
    double width() const { return rect_.width; }
    double height() const { return rect_.height; }
    Rect rect() const { return rect_; }
    // Geometry relative to the form's client area.
    Rect form_rect() const;
    void set_left(double v);
    void set_top(double v);
    void set_width(double v);
    void set_height(double v);

    bool visible() const { return visible_; }
    void set_visible(bool v);
    bool enabled() const { return enabled_; }
    void set_enabled(bool v);

    // Whether the control can hold the keyboard focus (labels, images and frames cannot).
    bool takes_focus() const;
    void set_focus();
    bool has_focus() const;

    std::function<void()> on_got_focus;

    // Backend side.
    // The peer lives as long as the control; it hears of changes only while the form is loaded.
    void attach_peer(std::unique_ptr<ControlPeer> peer);
    ControlPeer* peer() const { return peer_.get(); }
    // The platform moved the focus to this control.
    void raise_got_focus();
    // The form's DPI changed: the control measures again what depends on it.
    void fit_to_dpi() {
        dpi_changed();
        changed();
    }

protected:
    // Tell the peer that something changed.
    void changed();
    // Called after the width changed, before the peer hears of it.
    virtual void width_changed() {}
    // Called after the form's DPI changed, before the peer hears of it.
    virtual void dpi_changed() {}

    void set_size_silently(double width, double height) {
        rect_.width = width;
        rect_.height = height;
    }

private:
    Form& form_;
    ControlKind kind_;
    std::string name_;
    Rect rect_;
    bool visible_;
    bool enabled_ = true;
    Frame* container_;
    std::unique_ptr<ControlPeer> peer_;
};

}  // namespace tk
