// Labels, image controls and picture boxes have no window: their form (or the frame they
// stand in) paints them over its back buffer, so the mouse over them reaches the form.
#pragma once

#include <windows.h>

#include <optional>

#include "toolkit/control.h"
#include "toolkit/peers.h"

namespace win32 {

class FormPeer;
class Win32Toolkit;

bool is_windowless(tk::ControlKind kind);

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
