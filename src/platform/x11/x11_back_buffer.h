// A form's persistent surface on the X server: a pixmap of the client size in the back colour
// that keeps everything the program drew, and a scratch pixmap of the same size where the
// buffer and the windowless controls over it are put together before they are shown.
#pragma once

#include "platform/x11/xlib.h"

// The toolkit's headers come before Xlib's, whose macros (None, Bool, Status) would
// otherwise rename their enumerators.

#include "platform/x11/x11_handles.h"
#include "toolkit/types.h"

namespace x11 {

class X11Toolkit;

class BackBuffer {
  public:
    explicit BackBuffer(X11Toolkit& toolkit) : toolkit_(toolkit) {}

    // Fits the buffer to width x height in `color`, drawing with `gc`: a new colour starts it
    // clean, a new size keeps what was drawn. True if it was made anew.
    bool fit(GC gc, int width, int height, tk::Color color);
    void release();

    // None while empty.
    Pixmap pixmap() const { return back_.get(); }
    Pixmap scratch() const { return scratch_.get(); }
    XftDraw* scratch_draw() const { return scratch_draw_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    X11Toolkit& toolkit_;
    unique_pixmap back_;
    unique_pixmap scratch_;
    unique_xft_draw scratch_draw_;
    int width_ = 0;
    int height_ = 0;
    tk::Color color_ = 0;
};

}  // namespace x11
