// A form on X11: a window it is given or one of its own, a back buffer (a pixmap, made at
// the first drawing) that keeps what the program drew, and its labels, images and picture
// boxes painted over it, windowless as on Win32. What changes is gathered into one
// rectangle and painted to the window once the event or tick that changed it is handled.
#pragma once

#include "platform/x11/xlib.h"

// The toolkit's headers come before Xlib's, whose macros (None, Bool, Status) would
// otherwise rename their enumerators.

#include "platform/x11/x11_back_buffer.h"
#include "platform/x11/x11_geometry.h"
#include "platform/x11/x11_handles.h"
#include "toolkit/form.h"
#include "toolkit/peers.h"

namespace x11 {

class X11Toolkit;

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
    // Fits the back buffer to the form's size and colour.
    void fit_surface();
    // Makes the full-size surface of a miniature if it has none of the form's size and colour;
    // None if the server cannot make it.
    Pixmap full_surface();
    // Shrinks the part of the full surface that `drawn` covers into the back buffer; returns
    // where it went.
    PixelRect shrink_from_full(const PixelRect& drawn);
    void key_pressed(XKeyEvent& event);

    X11Toolkit& toolkit_;
    tk::Form& form_;
    Display* display_;
    Window window_ = None;
    bool given_ = false;
    // The window's size as the server last told it.
    int window_width_ = 0;
    int window_height_ = 0;
    BackBuffer back_;
    // A miniature's pictures go onto its full-size surface, which the back buffer shows
    // shrunk, so that what is drawn over what stays exactly as on the screen; a new size
    // starts it clean, as it does the back buffer.
    unique_pixmap full_;
    int full_width_ = 0;
    int full_height_ = 0;
    tk::Color full_color_ = 0;
    unique_gc gc_;
    PixelRect dirty_;
    bool mapped_ = false;
    // The request that last resized a window of its own.
    unsigned long resize_serial_ = 0;
    Atom wm_delete_ = None;
};

}  // namespace x11
