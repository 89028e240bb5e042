#include "platform/x11/x11_back_buffer.h"

#include "platform/x11/x11_toolkit.h"

namespace x11 {

void BackBuffer::release() {
    scratch_draw_.reset();
    scratch_.reset();
    drawing_.reset();
}

bool BackBuffer::fit(int width, int height, tk::Color color) {
    if (width == width_ && height == height_ && color == color_) return false;
    release();
    width_ = width;
    height_ = height;
    color_ = color;
    return true;
}

Pixmap BackBuffer::drawing(GC gc) {
    if (drawing_) return drawing_.get();
    drawing_ = toolkit_.create_pixmap(width_, height_);
    if (!drawing_) return None;
    Display* display = toolkit_.display();
    XSetClipMask(display, gc, None);
    XSetForeground(display, gc, toolkit_.pixel(color_));
    XFillRectangle(display, drawing_.get(), gc, 0, 0, static_cast<unsigned>(width_),
                   static_cast<unsigned>(height_));
    return drawing_.get();
}

bool BackBuffer::make_scratch() {
    if (scratch_draw_) return true;
    scratch_ = toolkit_.create_pixmap(width_, height_);
    if (!scratch_) return false;
    Display* display = toolkit_.display();
    scratch_draw_.reset(
        display, XftDrawCreate(display, scratch_.get(), toolkit_.visual(), toolkit_.colormap()));
    return static_cast<bool>(scratch_draw_);
}

void BackBuffer::show(Drawable target, GC gc, const PixelRect& area) const {
    Display* display = toolkit_.display();
    XSetClipMask(display, gc, None);
    const auto width = static_cast<unsigned>(area.width);
    const auto height = static_cast<unsigned>(area.height);
    if (drawing_) {
        XCopyArea(display, drawing_.get(), target, gc, area.left, area.top, width, height,
                  area.left, area.top);
        return;
    }
    XSetForeground(display, gc, toolkit_.pixel(color_));
    XFillRectangle(display, target, gc, area.left, area.top, width, height);
}

}  // namespace x11
