// The dialog widgets as native child windows of their form, placed in form coordinates.
// Each kind turns the notifications its window sends into the portable control's events.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "platform/win32/handles.h"
#include "toolkit/control.h"
#include "toolkit/peers.h"

namespace win32 {

class FormPeer;

class NativeControl : public tk::ControlPeer {
public:
    NativeControl(FormPeer& form, tk::Control& control, const wchar_t* window_class,
                  DWORD style, const std::string& caption);
    ~NativeControl() override;
    NativeControl(const NativeControl&) = delete;
    NativeControl& operator=(const NativeControl&) = delete;

    // Geometry, visibility and the enabled state, then the kind's own state.
    void sync() override;
    void focus() override;

    HWND window() const { return window_.get(); }
    int id() const { return id_; }
    tk::Control& control() const { return control_; }
    // The form's window goes, and its children with it.
    void destroy_window() { window_.reset(); }
    // Starts a group for the dialog manager's arrow keys, or continues the one before.
    void set_group_start(bool starts);

    // A WM_COMMAND notification or a WM_HSCROLL request from the window.
    virtual void command(WORD /*code*/) {}
    virtual void scroll(WORD /*code*/) {}

protected:
    virtual void sync_state() {}
    // Messages to the window itself, ahead of its own window procedure.
    virtual LRESULT message(UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT default_message(UINT message, WPARAM wparam, LPARAM lparam);
    FormPeer& form() const { return form_; }
    // Sets the window's caption when it changed.
    void sync_caption(const std::string& caption);

private:
    static LRESULT CALLBACK subclass_proc(HWND window, UINT message, WPARAM wparam,
                                          LPARAM lparam, UINT_PTR id, DWORD_PTR self);

    FormPeer& form_;
    tk::Control& control_;
    int id_;
    unique_hwnd window_;
    std::string caption_;
    int font_dpi_ = 0;  // the DPI of the font the window was given; 0 before the first
};

std::unique_ptr<tk::ControlPeer> create_native_control(FormPeer& form, tk::Control& control);

// One maker per kind (button_controls.cpp, scroll_bar_control.cpp, combo_box_control.cpp,
// label_control.cpp).
std::unique_ptr<NativeControl> make_frame(FormPeer& form, tk::Control& control);
std::unique_ptr<NativeControl> make_command_button(FormPeer& form, tk::Control& control);
std::unique_ptr<NativeControl> make_check_box(FormPeer& form, tk::Control& control);
std::unique_ptr<NativeControl> make_option_button(FormPeer& form, tk::Control& control);
std::unique_ptr<NativeControl> make_scroll_bar(FormPeer& form, tk::Control& control);
std::unique_ptr<NativeControl> make_combo_box(FormPeer& form, tk::Control& control);
std::unique_ptr<NativeControl> make_label(FormPeer& form, tk::Control& control);

}  // namespace win32
