// A form's surfaces on the X server, made only when they are needed: the back buffer, a
// pixmap of the client size that keeps what the program drew, made at its first drawing
// (until then the form shows its back colour, and a monitor's cover never holds one); and a
// scratch pixmap where what the form shows and the windowless controls over it are put
// together before they go to the window, made when a control first needs it. A new size or
// back colour starts both clean, as on Win32: what was drawn is gone.
#pragma once

#include "platform/x11/xlib.h"

// The toolkit's headers come before Xlib's, whose macros (None, Bool, Status) would
// otherwise rename their enumerators.

#include "platform/x11/x11_geometry.h"
#include "platform/x11/x11_handles.h"
#include "toolkit/types.h"

namespace x11 {

class X11Toolkit;

class BackBuffer {
  public:
    explicit BackBuffer(X11Toolkit& toolkit) : toolkit_(toolkit) {}

    // The client size and back colour; a change empties the buffer. True if it changed.
    bool fit(int width, int height, tk::Color color);
    void release();

    // The buffer to draw into, made in the back colour if there is none yet; None if the
    // server cannot make it.
    Pixmap drawing(GC gc);
    // The scratch surface and its text drawing, made if there is none yet; false if the
    // server cannot make it.
    bool make_scratch();
    Pixmap scratch() const { return scratch_.get(); }
    XftDraw* scratch_draw() const { return scratch_draw_.get(); }

    // Copies `area` of what the form shows under its controls, the buffer or else the back
    // colour, onto `target`.
    void show(Drawable target, GC gc, const PixelRect& area) const;
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    X11Toolkit& toolkit_;
    unique_pixmap drawing_;
    unique_pixmap scratch_;
    unique_xft_draw scratch_draw_;
    int width_ = 0;
    int height_ = 0;
    tk::Color color_ = 0;
};

}  // namespace x11
