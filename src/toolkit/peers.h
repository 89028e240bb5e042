// What a backend implements for each form, control and timer. The portable objects own all
// state; a peer realises it on the platform and is told whenever that state changes.
#pragma once

#include <memory>

#include "toolkit/picture.h"

namespace tk {

class Control;
class Form;

class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    // Any property of the control changed: geometry, caption, visibility, value, picture, list.
    virtual void sync() = 0;
    // Give the control the keyboard focus.
    virtual void focus() = 0;
};

class TimerPeer {
public:
    virtual ~TimerPeer() = default;
    // The interval or the enabled state changed.
    virtual void sync() = 0;
};

enum class Modality { Modeless, Modal };

class FormPeer {
public:
    virtual ~FormPeer() = default;
    virtual std::unique_ptr<ControlPeer> create_control_peer(Control& control) = 0;
    // Caption, back colour, key preview, position or size changed. A new size or back colour
    // starts the form's persistent surface clean, in the back colour, on every backend:
    // what was drawn on it is gone (windowless controls are painted again over it).
    virtual void sync() = 0;
    // For Modal, returns once the form has been unloaded; owner may be null.
    virtual void show(Modality modality, Form* owner) = 0;
    virtual void hide() = 0;
    // Top-most above every other window, over the given rectangle of the screen, and shown.
    virtual void place_topmost(int left_px, int top_px, int width_px, int height_px) = 0;
    // An opaque copy onto the form's persistent surface, which keeps everything drawn.
    virtual void draw_picture(const Picture& picture, int x_px, int y_px) = 0;
    virtual void destroy() = 0;
};

}  // namespace tk
