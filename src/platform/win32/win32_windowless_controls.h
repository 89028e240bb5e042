// Image controls and picture boxes have no window, nor have the labels of a borderless form
// (the saver window): their form (or the frame they stand in) paints them over its back
// buffer, so the mouse over them reaches the form. A dialog's labels are native static
// controls (label_control.cpp), so that a screen reader can read them, painted the same way.
#pragma once

#include <windows.h>

#include <optional>

#include "toolkit/control.h"
#include "toolkit/label.h"
#include "toolkit/peers.h"

namespace win32 {

class FormPeer;
class Win32Toolkit;

bool is_windowless(const tk::Control& control);

// Paints a label into `where`, pixels of the surface it stands on.
void paint_label(HDC dc, const tk::Label& label, RECT where, Win32Toolkit& toolkit);

// Paints the control into `where`, pixels of the surface it stands on.
void paint_windowless_control(HDC dc, const tk::Control& control, const RECT& where,
                              Win32Toolkit& toolkit);

class WindowlessControl : public tk::ControlPeer {
public:
    WindowlessControl(FormPeer& form, tk::Control& control) : form_(form), control_(control) {}
    // Repaints the union of the area it stood on and the area it stands on now.
    void sync() override;
    void focus() override {}

private:
    FormPeer& form_;
    tk::Control& control_;
    std::optional<RECT> shown_;
};

}  // namespace win32
