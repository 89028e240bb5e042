// A picture box: holds a picture on its background colour and has its own coordinate unit.
#pragma once

#include "toolkit/control.h"
#include "toolkit/picture.h"

namespace tk {

struct PictureBoxDesign {
    std::string name;
    Rect rect;
    bool auto_size = false;
    Color back_color = kButtonFace;
    bool visible = true;
    Frame* container = nullptr;
};

class PictureBox : public Control {
public:
    PictureBox(Form& form, PictureBoxDesign design);

    const PicturePtr& picture() const { return picture_; }
    // With auto-size the box takes the picture's size.
    void set_picture(PicturePtr picture);
    bool auto_size() const { return auto_size_; }
    void set_auto_size(bool v);
    Color back_color() const { return back_color_; }

    ScaleMode scale_mode() const { return scale_mode_; }
    void set_scale_mode(ScaleMode mode) { scale_mode_ = mode; }
    // The inner size in the box's coordinate unit.
    double scale_width() const;
    double scale_height() const;

private:
    void dpi_changed() override { fit_to_picture(); }
    void fit_to_picture();

    PicturePtr picture_;
    bool auto_size_;
    Color back_color_;
    ScaleMode scale_mode_ = ScaleMode::Twips;
};

}  // namespace tk
