// An option button; the option buttons of one container form one exclusive group.
#pragma once

#include "toolkit/control.h"

namespace tk {

struct OptionButtonDesign {
    std::string name;
    Int16 index = 0;  // position in its control array
    Rect rect;
    std::string caption;
    bool visible = true;
    Frame* container = nullptr;
};

class OptionButton : public Control {
public:
    OptionButton(Form& form, OptionButtonDesign design);

    Int16 index() const { return index_; }
    const std::string& caption() const { return caption_; }
    bool value() const { return value_; }
    // Selecting a button clears the others of its group.
    void set_value(bool v);

private:
    Int16 index_;
    std::string caption_;
    bool value_ = false;
};

}  // namespace tk
