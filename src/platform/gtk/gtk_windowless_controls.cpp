#include "platform/gtk/gtk_windowless_controls.h"

#include <algorithm>

#include "platform/gtk/gtk_form_peer.h"
#include "platform/gtk/gtk_picture.h"
#include "platform/gtk/gtk_text.h"
#include "platform/gtk/gtk_toolkit.h"
#include "toolkit/image_control.h"
#include "toolkit/label.h"
#include "toolkit/picture_box.h"
#include "toolkit/text_rules.h"

namespace gtkb {
namespace {

void paint_label(cairo_t* cairo, GtkToolkit& toolkit, const tk::Label& label, const PixelRect& where,
                 int dpi) {
    if (!label.transparent()) {
        set_source_color(cairo, label.back_color());
        cairo_rectangle(cairo, where.left, where.top, where.width, where.height);
        cairo_fill(cairo);
    }
    if (label.caption().empty()) return;
    const TextFont& font = toolkit.text_font(label.font(), dpi);
    // A label that does not size itself to one line breaks its caption to fit.
    const bool wraps = label.word_wrap() || !label.auto_size();
    const TextLayout layout = font.lay_out(label.caption(), wraps ? where.width : 0);
    set_source_color(cairo, label.fore_color());
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        const TextLine& line = layout.lines[i];
        int x = where.left;
        if (label.alignment() == tk::Alignment::Center)
            x += (where.width - line.width) / 2;
        else if (label.alignment() == tk::Alignment::Right)
            x += where.width - line.width;
        font.draw_line(cairo, line.text, x,
                       where.top + layout.ascent + static_cast<int>(i) * layout.line_height);
    }
}

void paint_picture(cairo_t* cairo, const tk::PicturePtr& picture, const PixelRect& where) {
    const auto* gtk_picture = dynamic_cast<const GtkPicture*>(picture.get());
    cairo_surface_t* surface = gtk_picture != nullptr ? gtk_picture->surface() : nullptr;
    if (surface == nullptr) return;
    cairo_set_source_surface(cairo, surface, where.left, where.top);
    cairo_rectangle(cairo, where.left, where.top, std::min(picture->width_px(), where.width),
                    std::min(picture->height_px(), where.height));
    cairo_fill(cairo);
}

}  // namespace

bool is_windowless(tk::ControlKind kind) {
    return kind == tk::ControlKind::Label || kind == tk::ControlKind::Image ||
           kind == tk::ControlKind::PictureBox;
}

PixelRect pixel_rect(const tk::Control& control) {
    const double tpp = control.form().twips_per_pixel();
    const tk::Rect r = control.form_rect();
    return {tk::twips_to_pixels(r.left, tpp), tk::twips_to_pixels(r.top, tpp),
            tk::twips_to_pixels(r.width, tpp), tk::twips_to_pixels(r.height, tpp)};
}

void WindowlessPeer::sync() {
    std::optional<PixelRect> now;
    if (control_.visible()) now = pixel_rect(control_);
    PixelRect changed;
    if (shown_ && now)
        changed = unite(*shown_, *now);
    else if (shown_ || now)
        changed = shown_ ? *shown_ : *now;
    shown_ = now;
    form_.invalidate(changed);
}

bool windowless_controls_meet(const tk::Form& form, const PixelRect& area) {
    return std::any_of(form.controls().begin(), form.controls().end(),
                       [&](const tk::Control* control) {
                           return control->visible() && is_windowless(control->kind()) &&
                                  !intersect(pixel_rect(*control), area).empty();
                       });
}

void paint_windowless_controls(cairo_t* cairo, GtkToolkit& toolkit, const tk::Form& form,
                               const PixelRect& area) {
    for (const tk::Control* control : form.controls()) {
        if (!control->visible() || !is_windowless(control->kind())) continue;
        const PixelRect where = pixel_rect(*control);
        const PixelRect clip = intersect(where, area);
        if (clip.empty()) continue;
        cairo_save(cairo);
        cairo_rectangle(cairo, clip.left, clip.top, clip.width, clip.height);
        cairo_clip(cairo);
        switch (control->kind()) {
            case tk::ControlKind::Label:
                paint_label(cairo, toolkit, static_cast<const tk::Label&>(*control), where,
                            form.dpi());
                break;
            case tk::ControlKind::Image:
                paint_picture(cairo, static_cast<const tk::ImageControl&>(*control).picture(),
                              where);
                break;
            case tk::ControlKind::PictureBox: {
                const auto& box = static_cast<const tk::PictureBox&>(*control);
                set_source_color(cairo, box.back_color());
                cairo_rectangle(cairo, where.left, where.top, where.width, where.height);
                cairo_fill(cairo);
                paint_picture(cairo, box.picture(), where);
                break;
            }
            default:
                break;
        }
        cairo_restore(cairo);
    }
}

}  // namespace gtkb
