// Labels, image controls and picture boxes have no window on X11, as on Win32's saver
// window: their form paints them over its back buffer, so the mouse over them reaches the
// form.
#pragma once

#include "platform/x11/xlib.h"

// The toolkit's headers come before Xlib's, whose macros (None, Bool, Status) would
// otherwise rename their enumerators.

#include <optional>

#include "platform/x11/x11_geometry.h"
#include "toolkit/control.h"
#include "toolkit/form.h"
#include "toolkit/peers.h"

namespace x11 {

class FormPeer;
class X11Toolkit;

bool is_windowless(tk::ControlKind kind);
// Where a control stands in its form's window: scaled and shifted in a miniature.
PixelRect placed(const tk::Control& control);
// Composites `source` onto `target`, scaled: each pixel (x, y) of `where` shows the source's
// point ((x - origin.x) * ratio, (y - origin.y) * ratio); drawn only within `clip`.
void draw_scaled(X11Toolkit& toolkit, Pixmap source, Drawable target, double ratio_x,
                 double ratio_y, const PixelRect& origin, const PixelRect& where,
                 const PixelRect& clip);

// True if a visible windowless control of the form stands on `area`.
bool windowless_control_over(const tk::Form& form, const PixelRect& area);

// Paints every visible windowless control of the form that stands on `area` onto `target`,
// clipped to `area`; `draw` draws text on the same target.
void paint_windowless_controls(X11Toolkit& toolkit, const tk::Form& form, Drawable target,
                               XftDraw* draw, GC gc, const PixelRect& area);

class WindowlessControl : public tk::ControlPeer {
  public:
    WindowlessControl(FormPeer& form, tk::Control& control) : form_(form), control_(control) {}

    // Repaints the union of the area it stood on and the area it stands on now.
    void sync() override;
    void focus() override {}

  private:
    FormPeer& form_;
    tk::Control& control_;
    std::optional<PixelRect> shown_;
};

}  // namespace x11
