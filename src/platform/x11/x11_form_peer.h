// A form on X11: a window it is given or one of its own, a persistent back buffer (a
// pixmap) that keeps what the program drew, and its labels, images and picture boxes
// painted over that buffer, windowless as on Win32. What changes is gathered into one
// rectangle and painted to the window once the event or tick that changed it is handled.
#pragma once

#include "platform/x11/xlib.h"

// The toolkit's headers come before Xlib's, whose macros (None, Bool, Status) would
// otherwise rename their enumerators.

#include <optional>

#include "toolkit/form.h"
#include "toolkit/peers.h"

namespace x11 {

class X11Toolkit;

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
};

PixelRect unite(const PixelRect& a, const PixelRect& b);
PixelRect intersect(const PixelRect& a, const PixelRect& b);

class FormPeer : public tk::FormPeer {
  public:
    FormPeer(X11Toolkit& toolkit, tk::Form& form);
    ~FormPeer() override;
    FormPeer(const FormPeer&) = delete;
    FormPeer& operator=(const FormPeer&) = delete;

    std::unique_ptr<tk::ControlPeer> create_control_peer(tk::Control& control) override;
    void sync() override;
    void show(tk::Modality modality, tk::Form* owner) override;
    void hide() override;
    void place_topmost(int left_px, int top_px, int width_px, int height_px) override;
    void draw_picture(const tk::Picture& picture, int x_px, int y_px) override;
    void destroy() override;

    // Backend side. The window is None once destroyed.
    Window window() const { return window_; }
    tk::Form& form() const { return form_; }
    bool given() const { return given_; }
    double twips_per_pixel() const { return form_.twips_per_pixel(); }
    // Where a control stands in the window, in pixels.
    PixelRect placed(const tk::Control& control) const;
    // Marks an area of the client area, in pixels, for painting.
    void invalidate(const PixelRect& area);
    // Paints what changed onto the window.
    void flush();
    void handle(XEvent& event);
    // The pointer is hidden or shown again over the program's windows.
    void apply_cursor();

  private:
    // The client size the form asks for, in pixels.
    PixelRect client_rect() const;
    // Fits the back buffer to the form's size and colour: a new colour starts a clean
    // buffer, a new size keeps what was drawn.
    void fit_surface();
    void release_surface();
    void paint_controls(const PixelRect& area);
    // Shrinks the part of the full surface that `drawn` covers into the back buffer;
    // returns where it went.
    PixelRect shrink_from_full(const PixelRect& drawn);
    // A picture scaled to fill `where` of `target`, drawn only within `clip`.
    void stretch_picture(const tk::Picture& picture, Drawable target, const PixelRect& where,
                         const PixelRect& clip);
    void key_pressed(XKeyEvent& event);

    X11Toolkit& toolkit_;
    tk::Form& form_;
    Display* display_;
    Window window_ = None;
    bool given_ = false;
    // The window's size as the server last told it.
    int window_width_ = 0;
    int window_height_ = 0;
    Pixmap back_ = None;
    // A miniature's pictures go onto its full-size surface, which the back buffer shows
    // shrunk, so that what is drawn over what stays exactly as on the screen.
    Pixmap full_ = None;
    int full_width_ = 0;
    int full_height_ = 0;
    Pixmap scratch_ = None;
    XftDraw* scratch_draw_ = nullptr;
    GC gc_ = nullptr;
    int surface_width_ = 0;
    int surface_height_ = 0;
    tk::Color surface_color_ = 0;
    PixelRect dirty_;
    bool mapped_ = false;
    // The request that last resized a window of its own.
    unsigned long resize_serial_ = 0;
    Atom wm_delete_ = None;
};

}  // namespace x11
