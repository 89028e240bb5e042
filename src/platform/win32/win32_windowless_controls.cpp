#include "platform/win32/win32_windowless_controls.h"

#include "platform/win32/win32_form_peer.h"
#include "platform/win32/geometry.h"
#include "platform/win32/handles.h"
#include "platform/win32/picture_drawing.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_toolkit.h"
#include "toolkit/form.h"
#include "toolkit/image_control.h"
#include "toolkit/label.h"
#include "toolkit/picture_box.h"

namespace win32 {
namespace {

void fill(HDC dc, const RECT& where, tk::Color color) {
    const unique_hbrush brush(CreateSolidBrush(color));
    if (brush) FillRect(dc, &where, brush.get());
}

UINT alignment_flag(tk::Alignment alignment) {
    switch (alignment) {
        case tk::Alignment::Left:
            return DT_LEFT;
        case tk::Alignment::Right:
            return DT_RIGHT;
        case tk::Alignment::Center:
            return DT_CENTER;
    }
    return DT_LEFT;
}

}  // namespace

void paint_label(HDC dc, const tk::Label& label, RECT where, Win32Toolkit& toolkit) {
    if (!label.transparent()) fill(dc, where, label.back_color());
    const std::wstring text = widen(label.caption());
    if (text.empty()) return;
    const select_object font(dc, toolkit.font(label.font(), label.form().view_dpi()));
    const int previous_mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF previous_color = SetTextColor(dc, label.fore_color());
    // A label that does not size itself to one line breaks its caption to fit its width.
    const bool wraps = label.word_wrap() || !label.auto_size();
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &where,
              alignment_flag(label.alignment()) | (wraps ? DT_WORDBREAK : 0));
    if (previous_color != CLR_INVALID) SetTextColor(dc, previous_color);
    if (previous_mode != 0) SetBkMode(dc, previous_mode);
}

namespace {

void paint_image(HDC dc, const tk::ImageControl& image, const RECT& where) {
    if (image.picture() == nullptr) return;
    if (image.stretch()) {
        stretch_picture(dc, *image.picture(), where);
    } else {
        draw_picture(dc, *image.picture(), where);
    }
}

void paint_picture_box(HDC dc, const tk::PictureBox& box, const RECT& where) {
    fill(dc, where, box.back_color());
    if (box.picture() != nullptr) draw_picture(dc, *box.picture(), where);
}

}  // namespace

bool is_windowless(const tk::Control& control) {
    switch (control.kind()) {
        case tk::ControlKind::Label:
            return control.form().border() != tk::BorderStyle::FixedDialog;
        case tk::ControlKind::Image:
        case tk::ControlKind::PictureBox:
            return true;
        default:
            return false;
    }
}

void paint_windowless_control(HDC dc, const tk::Control& control, const RECT& where,
                              Win32Toolkit& toolkit) {
    switch (control.kind()) {
        case tk::ControlKind::Label:
            paint_label(dc, static_cast<const tk::Label&>(control), where, toolkit);
            break;
        case tk::ControlKind::Image:
            paint_image(dc, static_cast<const tk::ImageControl&>(control), where);
            break;
        case tk::ControlKind::PictureBox:
            paint_picture_box(dc, static_cast<const tk::PictureBox&>(control), where);
            break;
        default:
            break;
    }
}

void WindowlessControl::sync() {
    const HWND surface = form_.surface_of(control_.container());
    if (surface == nullptr) return;
    std::optional<RECT> now;
    if (control_.visible()) now = form_.placed(control_);
    RECT changed{};
    if (shown_ && now) {
        UnionRect(&changed, &*shown_, &*now);
    } else if (shown_ || now) {
        changed = shown_ ? *shown_ : *now;
    }
    shown_ = now;
    if (IsRectEmpty(&changed)) return;
    // A frame erases its background itself; the form repaints from its back buffer.
    if (surface == form_.window())
        form_.invalidate(changed);
    else
        InvalidateRect(surface, &changed, TRUE);
}

}  // namespace win32
