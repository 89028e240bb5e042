// A horizontal scroll bar holding a whole value between its minimum and maximum.
#pragma once

#include "toolkit/control.h"

namespace tk {

struct HScrollBarDesign {
    std::string name;
    Rect rect;
    Int16 min = 0;
    Int16 max = 32767;
    Int16 small_change = 1;  // arrow keys and arrow buttons
    Int16 large_change = 1;  // Page Up/Down and clicks in the trough
    Frame* container = nullptr;
};

class HScrollBar : public Control {
public:
    HScrollBar(Form& form, HScrollBarDesign design);

    Int16 value() const { return value_; }
    // Values beyond the range stand at the nearer end.
    void set_value(Int16 v);
    Int16 min() const { return min_; }
    Int16 max() const { return max_; }
    Int16 small_change() const { return small_change_; }
    Int16 large_change() const { return large_change_; }

    std::function<void()> on_change;

private:
    Int16 min_;
    Int16 max_;
    Int16 small_change_;
    Int16 large_change_;
    Int16 value_;
};

}  // namespace tk
