// A windowless picture holder painted by its form: the picture's own size, or stretched.
#pragma once

#include "toolkit/control.h"
#include "toolkit/picture.h"

namespace tk {

struct ImageDesign {
    std::string name;
    Rect rect;
    // Stretch keeps the control's size and scales the picture smoothly into it.
    bool stretch = false;
    bool visible = true;
    Frame* container = nullptr;
};

class ImageControl : public Control {
public:
    ImageControl(Form& form, ImageDesign design);

    const PicturePtr& picture() const { return picture_; }
    // Without stretch the control takes the picture's natural size.
    void set_picture(PicturePtr picture);
    bool stretch() const { return stretch_; }

private:
    void dpi_changed() override { fit_to_picture(); }
    void fit_to_picture();

    PicturePtr picture_;
    bool stretch_;
};

}  // namespace tk
