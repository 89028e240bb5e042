#include "platform/x11/x11_back_buffer.h"

#include <algorithm>

#include "platform/x11/x11_toolkit.h"

namespace x11 {

void BackBuffer::release() {
    scratch_draw_.reset();
    scratch_.reset();
    back_.reset();
    width_ = 0;
    height_ = 0;
}

bool BackBuffer::fit(GC gc, int width, int height, tk::Color color) {
    if (back_ && width == width_ && height == height_ && color == color_) return false;
    Display* display = toolkit_.display();
    const auto w = static_cast<unsigned>(width);
    const auto h = static_cast<unsigned>(height);
    const auto depth = static_cast<unsigned>(toolkit_.depth());
    unique_pixmap fresh(display, XCreatePixmap(display, toolkit_.root(), w, h, depth));
    XSetClipMask(display, gc, None);
    XSetForeground(display, gc, toolkit_.pixel(color));
    XFillRectangle(display, fresh.get(), gc, 0, 0, w, h);
    // A new size keeps what was drawn; a new colour starts clean.
    if (back_ && color == color_)
        XCopyArea(display, back_.get(), fresh.get(), gc, 0, 0,
                  static_cast<unsigned>(std::min(width_, width)),
                  static_cast<unsigned>(std::min(height_, height)), 0, 0);
    release();
    back_ = std::move(fresh);
    scratch_.reset(display, XCreatePixmap(display, toolkit_.root(), w, h, depth));
    scratch_draw_.reset(
        display, XftDrawCreate(display, scratch_.get(), toolkit_.visual(), toolkit_.colormap()));
    width_ = width;
    height_ = height;
    color_ = color;
    return true;
}

}  // namespace x11
