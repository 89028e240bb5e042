// A check box whose value is 0 (unchecked) or 1 (checked).
#pragma once

#include "toolkit/control.h"

namespace tk {

struct CheckBoxDesign {
    std::string name;
    Rect rect;
    std::string caption;
    Int16 value = 0;
    bool visible = true;
    Frame* container = nullptr;
};

class CheckBox : public Control {
public:
    CheckBox(Form& form, CheckBoxDesign design);

    const std::string& caption() const { return caption_; }
    Int16 value() const { return value_; }
    // Any value other than 0 checks the box.
    void set_value(Int16 v);
    // The user clicked the box or pressed Space on it.
    void toggle_by_user();
    std::function<void()> on_click;

private:
    std::string caption_;
    Int16 value_;
};

}  // namespace tk
