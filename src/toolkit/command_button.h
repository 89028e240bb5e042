// A push button, optionally the form's default (Enter) or cancel (Escape) button.
#pragma once

#include "toolkit/control.h"

namespace tk {

struct CommandButtonDesign {
    std::string name;
    Rect rect;
    std::string caption;
    bool is_default = false;
    bool is_cancel = false;
    bool visible = true;
};

class CommandButton : public Control {
public:
    CommandButton(Form& form, CommandButtonDesign design);

    const std::string& caption() const { return caption_; }
    bool is_default() const { return is_default_; }
    bool is_cancel() const { return is_cancel_; }

    // A press by mouse, keyboard or access key.
    void press();
    std::function<void()> on_click;

private:
    std::string caption_;
    bool is_default_;
    bool is_cancel_;
};

}  // namespace tk
