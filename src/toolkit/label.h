// A windowless text label painted by its form.
#pragma once

#include "toolkit/control.h"

namespace tk {

struct LabelDesign {
    std::string name;
    Rect rect;
    std::string caption;
    Font font{};
    Alignment alignment = Alignment::Left;
    // Auto-size alone fits width and height to one line of text; with word wrap the width
    // is kept and the height follows the wrapped text.
    bool auto_size = false;
    bool word_wrap = false;
    Color fore_color = kBlack;
    Color back_color = kButtonFace;
    bool transparent = false;
    bool visible = true;
    Frame* container = nullptr;
};

class Label : public Control {
public:
    Label(Form& form, LabelDesign design);

    const std::string& caption() const { return caption_; }
    void set_caption(std::string caption);
    const Font& font() const { return font_; }
    Alignment alignment() const { return alignment_; }
    bool auto_size() const { return auto_size_; }
    bool word_wrap() const { return word_wrap_; }
    Color fore_color() const { return fore_color_; }
    Color back_color() const { return back_color_; }
    bool transparent() const { return transparent_; }

private:
    void width_changed() override;
    void dpi_changed() override { fit_to_caption(); }
    void fit_to_caption();

    std::string caption_;
    Font font_;
    Alignment alignment_;
    bool auto_size_;
    bool word_wrap_;
    Color fore_color_;
    Color back_color_;
    bool transparent_;
};

}  // namespace tk
