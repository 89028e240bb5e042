// A form on GTK: a GtkWindow holding an overlay of a drawing area, which shows the form's
// back buffer with its windowless controls painted over it, and a GtkFixed above it for
// native controls placed in the form's pixels. In full screen the window is a surface on
// the OVERLAY layer of one output (or a full-screen window where there is no layer shell).
#pragma once

#include "platform/gtk/gtk_back_buffer.h"
#include "platform/gtk/gtk_owners.h"
#include "platform/gtk/gtk_wayland_surface.h"
#include "toolkit/form.h"
#include "toolkit/peers.h"

namespace gtkb {

class GtkToolkit;

// A top-level window over one output in full screen: layer surface or full-screen window.
// Input and drawing are its owner's to connect.
TopLevel make_cover_window(GtkToolkit& toolkit, GdkMonitor* monitor);

class FormPeer : public tk::FormPeer {
  public:
    FormPeer(GtkToolkit& toolkit, tk::Form& form);
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

    // Backend side. Null once destroyed.
    GtkWidget* window() const { return window_.get(); }
    // Where native controls go: children of this GtkFixed stand at the form's pixels
    // divided by the toolkit's pixel scale.
    GtkFixed* fixed() const { return fixed_; }
    tk::Form& form() const { return form_; }
    GtkToolkit& toolkit() const { return toolkit_; }
    // The output this form covers in full screen; null otherwise.
    GdkMonitor* monitor() const { return monitor_; }
    // Marks an area of the client area, in the form's pixels, for painting.
    void invalidate(const PixelRect& area);
    void apply_cursor();

    // Input at a position in this form's window, in logical pixels. A key the form leaves
    // to its focused widget returns false.
    bool on_key(const GdkEventKey& event);
    void on_button(guint button, guint state, double x, double y);
    void on_release(guint button);
    void on_motion(guint state, double x, double y);

  private:
    PixelRect client_rect() const;
    void fit_surface();
    void draw(cairo_t* cairo);
    // The form's look over an area, in its pixels: buffer and windowless controls.
    void paint(cairo_t* cairo, const PixelRect& area);
    // The same onto the same area of an image of the form's size.
    void paint_into(cairo_surface_t* image, const PixelRect& area);
    void mapped();
    void allocated(int width, int height);
    // A dialog's keys: the form's key events, then Escape presses the cancel button and Enter
    // the default one, unless the focus is on another push button, which Enter presses.
    bool on_dialog_key(const GdkEventKey& event);
    void press_button(bool cancel);

    GtkToolkit& toolkit_;
    tk::Form& form_;
    TopLevel window_;
    GtkWidget* area_ = nullptr;
    GtkFixed* fixed_ = nullptr;
    GdkMonitor* monitor_ = nullptr;
    BackBuffer back_;
    // In full screen, what shows the form instead of GTK's painting (where it can).
    std::unique_ptr<WaylandSurface> shown_by_;
    GMainLoop* modal_loop_ = nullptr;
    bool shown_ = false;
};

// A black surface over an output plugged in while the saver runs: the program never heard
// of it, so its input goes to the saver's form, as if it had happened there.
class OutputCover {
  public:
    OutputCover(GtkToolkit& toolkit, GdkMonitor* monitor, FormPeer& saver);
    OutputCover(const OutputCover&) = delete;
    OutputCover& operator=(const OutputCover&) = delete;

    GdkMonitor* monitor() const { return monitor_; }
    void apply_cursor();

    bool on_key(const GdkEventKey& event) { return saver_.on_key(event); }
    void on_button(guint button, guint state, double x, double y);
    void on_release(guint button) { saver_.on_release(button); }
    void on_motion(guint state, double x, double y);

  private:
    // From this output's logical pixels to the saver window's.
    double to_saver_x(double x) const;
    double to_saver_y(double y) const;

    GtkToolkit& toolkit_;
    GdkMonitor* monitor_;
    FormPeer& saver_;
    TopLevel window_;
};

}  // namespace gtkb
