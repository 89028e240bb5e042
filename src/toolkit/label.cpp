#include "toolkit/label.h"

#include "toolkit/form.h"
#include "toolkit/toolkit.h"

namespace tk {

Label::Label(Form& form, LabelDesign d)
    : Control(form, ControlKind::Label, std::move(d.name), d.rect, d.visible, d.container),
      caption_(std::move(d.caption)),
      font_(std::move(d.font)),
      alignment_(d.alignment),
      auto_size_(d.auto_size),
      word_wrap_(d.word_wrap),
      fore_color_(d.fore_color),
      back_color_(d.back_color),
      transparent_(d.transparent) {
    fit_to_caption();
}

void Label::set_caption(std::string caption) {
    caption_ = std::move(caption);
    fit_to_caption();
    changed();
}

void Label::width_changed() { fit_to_caption(); }

void Label::fit_to_caption() {
    if (!auto_size_) return;
    Toolkit& toolkit = form().toolkit();
    if (word_wrap_) {
        const Size size = toolkit.measure_text_at(font_, caption_, width(), form().dpi());
        set_size_silently(width(), size.height);
    } else {
        const Size size = toolkit.measure_text_at(font_, caption_, 0, form().dpi());
        set_size_silently(size.width, size.height);
    }
}

}  // namespace tk
