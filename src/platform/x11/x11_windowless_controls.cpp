#include "platform/x11/x11_windowless_controls.h"

#include <algorithm>

#include "platform/x11/x11_form_peer.h"
#include "platform/x11/x11_text.h"
#include "platform/x11/x11_toolkit.h"
#include "toolkit/image_control.h"
#include "toolkit/label.h"
#include "toolkit/picture_box.h"

namespace x11 {
namespace {

void paint_label(X11Toolkit& toolkit, const tk::Label& label, const PixelRect& where, XftDraw* draw,
                 XRectangle clip) {
    XftFont* font = toolkit.font(label.font(), label.form().view_dpi());
    const XftColor* color = toolkit.xft_color(label.fore_color());
    if (font == nullptr || color == nullptr || label.caption().empty()) return;
    // A label that does not size itself to one line breaks its caption to fit.
    const bool wraps = label.word_wrap() || !label.auto_size();
    const TextLayout layout =
        lay_out_text(toolkit.display(), font, label.caption(), wraps ? where.width : 0);
    XftDrawSetClipRectangles(draw, 0, 0, &clip, 1);
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        const TextLine& line = layout.lines[i];
        int x = where.left;
        if (label.alignment() == tk::Alignment::Center)
            x += (where.width - line.width) / 2;
        else if (label.alignment() == tk::Alignment::Right)
            x += where.width - line.width;
        const int y = where.top + layout.ascent + static_cast<int>(i) * layout.line_height;
        XftDrawStringUtf8(draw, color, font, x, y,
                          reinterpret_cast<const FcChar8*>(line.text.data()),
                          static_cast<int>(line.text.size()));
    }
    XftDrawSetClip(draw, nullptr);
}

}  // namespace

bool is_windowless(tk::ControlKind kind) {
    return kind == tk::ControlKind::Label || kind == tk::ControlKind::Image ||
           kind == tk::ControlKind::PictureBox;
}

PixelRect placed(const tk::Control& control) {
    return control.form().to_view(control.form_rect());
}

void draw_scaled(X11Toolkit& toolkit, Pixmap source, Drawable target, double ratio_x,
                 double ratio_y, const PixelRect& origin, const PixelRect& where,
                 const PixelRect& clip) {
    Display* display = toolkit.display();
    XRenderPictFormat* format = XRenderFindVisualFormat(display, toolkit.visual());
    if (format == nullptr || where.empty() || clip.empty()) return;
    const ::Picture from = XRenderCreatePicture(display, source, format, 0, nullptr);
    const ::Picture to = XRenderCreatePicture(display, target, format, 0, nullptr);
    XTransform scale{{{XDoubleToFixed(ratio_x), 0, XDoubleToFixed(-origin.left * ratio_x)},
                      {0, XDoubleToFixed(ratio_y), XDoubleToFixed(-origin.top * ratio_y)},
                      {0, 0, XDoubleToFixed(1)}}};
    XRenderSetPictureTransform(display, from, &scale);
    XRenderSetPictureFilter(display, from, FilterBilinear, nullptr, 0);
    XRectangle clip_rect{static_cast<short>(clip.left), static_cast<short>(clip.top),
                         static_cast<unsigned short>(clip.width),
                         static_cast<unsigned short>(clip.height)};
    XRenderSetPictureClipRectangles(display, to, 0, 0, &clip_rect, 1);
    XRenderComposite(display, PictOpSrc, from, None, to, where.left, where.top, 0, 0, where.left,
                     where.top, static_cast<unsigned>(where.width),
                     static_cast<unsigned>(where.height));
    XRenderFreePicture(display, from);
    XRenderFreePicture(display, to);
}

bool windowless_control_over(const tk::Form& form, const PixelRect& area) {
    return std::any_of(form.controls().begin(), form.controls().end(),
                       [&](const tk::Control* control) {
                           return control->visible() && is_windowless(control->kind()) &&
                                  !intersect(placed(*control), area).empty();
                       });
}

void paint_windowless_controls(X11Toolkit& toolkit, const tk::Form& form, Drawable target,
                               XftDraw* draw, GC gc, const PixelRect& area) {
    Display* display = toolkit.display();
    const bool scaled = form.view_scale() != 1;
    for (const tk::Control* control : form.controls()) {
        if (!control->visible() || !is_windowless(control->kind())) continue;
        const PixelRect where = placed(*control);
        const PixelRect clip = intersect(where, area);
        if (clip.empty()) continue;
        XRectangle clip_rect{static_cast<short>(clip.left), static_cast<short>(clip.top),
                             static_cast<unsigned short>(clip.width),
                             static_cast<unsigned short>(clip.height)};
        XSetClipRectangles(display, gc, 0, 0, &clip_rect, 1, Unsorted);
        auto fill = [&](tk::Color color) {
            XSetForeground(display, gc, toolkit.pixel(color));
            XFillRectangle(display, target, gc, where.left, where.top,
                           static_cast<unsigned>(where.width), static_cast<unsigned>(where.height));
        };
        auto copy = [&](const tk::PicturePtr& picture) {
            if (picture == nullptr) return;
            const Pixmap source = toolkit.pixmap_of(*picture);
            if (source == None) return;
            // In a miniature the picture shrinks with its control.
            if (scaled) {
                draw_scaled(toolkit, source, target, double(picture->width_px()) / where.width,
                            double(picture->height_px()) / where.height, where, where, clip);
                return;
            }
            XCopyArea(display, source, target, gc, 0, 0,
                      static_cast<unsigned>(std::min(picture->width_px(), where.width)),
                      static_cast<unsigned>(std::min(picture->height_px(), where.height)),
                      where.left, where.top);
        };
        switch (control->kind()) {
            case tk::ControlKind::Label: {
                const auto& label = static_cast<const tk::Label&>(*control);
                if (!label.transparent()) fill(label.back_color());
                paint_label(toolkit, label, where, draw, clip_rect);
                break;
            }
            case tk::ControlKind::Image:
                copy(static_cast<const tk::ImageControl&>(*control).picture());
                break;
            case tk::ControlKind::PictureBox: {
                const auto& box = static_cast<const tk::PictureBox&>(*control);
                fill(box.back_color());
                copy(box.picture());
                break;
            }
            default:
                break;
        }
    }
    XSetClipMask(display, gc, None);
}

void WindowlessControl::sync() {
    std::optional<PixelRect> now;
    if (control_.visible()) now = placed(control_);
    PixelRect changed;
    if (shown_ && now)
        changed = unite(*shown_, *now);
    else if (shown_ || now)
        changed = shown_ ? *shown_ : *now;
    shown_ = now;
    form_.invalidate(changed);
}

}  // namespace x11
