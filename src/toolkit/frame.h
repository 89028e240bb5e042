// A captioned frame (group box); controls placed in it are positioned relative to it.
#pragma once

#include "toolkit/control.h"

namespace tk {

struct FrameDesign {
    std::string name;
    Rect rect;
    std::string caption;
    bool visible = true;
};

class Frame : public Control {
public:
    Frame(Form& form, FrameDesign design);
    const std::string& caption() const { return caption_; }

private:
    std::string caption_;
};

}  // namespace tk
