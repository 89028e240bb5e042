#include "platform/win32/native_control.h"

#include <commctrl.h>

#include "platform/win32/win32_form_peer.h"
#include "platform/win32/geometry.h"
#include "platform/win32/guarded.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_toolkit.h"

namespace win32 {

NativeControl::NativeControl(FormPeer& form, tk::Control& control, const wchar_t* window_class,
                             DWORD style, const std::string& caption)
    : form_(form), control_(control), id_(form.add_native_control(*this)), caption_(caption) {
    if (form.window() == nullptr) return;
    const DWORD focus_style = control.takes_focus() ? WS_TABSTOP : 0;
    window_.reset(CreateWindowExW(0, window_class, widen(caption).c_str(),
                                  WS_CHILD | focus_style | style, 0, 0, 0, 0, form.window(),
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                                  form.toolkit().instance(), nullptr));
    if (!window_) return;
    if (!SetWindowSubclass(window_.get(), subclass_proc, 0, reinterpret_cast<DWORD_PTR>(this)))
        return;  // it still works; only its focus goes unreported
}

NativeControl::~NativeControl() {
    if (window_) RemoveWindowSubclass(window_.get(), subclass_proc, 0);
    window_.reset();
    form_.remove_native_control(*this);
}

void NativeControl::sync() {
    const HWND window = window_.get();
    if (window == nullptr) return;
    // The form's font at the form's DPI: made anew when the form moves to another scale.
    if (const int dpi = form_.form().dpi(); dpi != font_dpi_) {
        font_dpi_ = dpi;
        SendMessageW(window, WM_SETFONT,
                     reinterpret_cast<WPARAM>(form_.toolkit().font(form_.form().font(), dpi)),
                     FALSE);
    }
    const RECT placed = to_pixels(control_.form_rect(), form_.twips_per_pixel());
    MoveWindow(window, placed.left, placed.top, width(placed), height(placed), TRUE);
    EnableWindow(window, control_.enabled() ? TRUE : FALSE);
    sync_state();
    ShowWindow(window, control_.visible() ? SW_SHOWNA : SW_HIDE);
}

void NativeControl::focus() {
    if (window_) SetFocus(window_.get());
}

void NativeControl::set_group_start(bool starts) {
    const HWND window = window_.get();
    if (window == nullptr) return;
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    SetWindowLongPtrW(window, GWL_STYLE, starts ? style | WS_GROUP : style & ~LONG_PTR{WS_GROUP});
}

void NativeControl::sync_caption(const std::string& caption) {
    if (caption == caption_ || !window_) return;
    caption_ = caption;
    SetWindowTextW(window_.get(), widen(caption).c_str());
}

LRESULT NativeControl::default_message(UINT message, WPARAM wparam, LPARAM lparam) {
    return DefSubclassProc(window_.get(), message, wparam, lparam);
}

LRESULT NativeControl::message(UINT message, WPARAM wparam, LPARAM lparam) {
    const LRESULT result = default_message(message, wparam, lparam);
    if (message == WM_SETFOCUS) control_.raise_got_focus();
    return result;
}

LRESULT CALLBACK NativeControl::subclass_proc(HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam, UINT_PTR, DWORD_PTR self) {
    auto* control = reinterpret_cast<NativeControl*>(self);
    if (control->window_.get() != window) return DefSubclassProc(window, message, wparam, lparam);
    LRESULT result = 0;
    run_guarded([&] { result = control->message(message, wparam, lparam); });
    return result;
}

std::unique_ptr<tk::ControlPeer> create_native_control(FormPeer& form, tk::Control& control) {
    switch (control.kind()) {
        case tk::ControlKind::Frame:
            return make_frame(form, control);
        case tk::ControlKind::CommandButton:
            return make_command_button(form, control);
        case tk::ControlKind::CheckBox:
            return make_check_box(form, control);
        case tk::ControlKind::OptionButton:
            return make_option_button(form, control);
        case tk::ControlKind::HScrollBar:
            return make_scroll_bar(form, control);
        case tk::ControlKind::ComboBox:
            return make_combo_box(form, control);
        case tk::ControlKind::Label:
            return make_label(form, control);
        case tk::ControlKind::Image:
        case tk::ControlKind::PictureBox:
            break;
    }
    return nullptr;
}

}  // namespace win32
