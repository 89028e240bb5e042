// A form as a top-level window of the one form window class, or, in a preview, as a child
// filling the host's window and showing the form as a miniature. Its persistent back buffer
// keeps what the program drew; images, picture boxes and the saver window's labels are
// windowless and painted over it, so that mouse input over them reaches the form; the
// dialog widgets and a dialog's labels are native child windows.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/win32_back_buffer.h"
#include "platform/win32/handles.h"
#include "toolkit/form.h"
#include "toolkit/peers.h"

namespace tk {
class Frame;
}

namespace win32 {

class NativeControl;
class TimerPeer;
class Win32Toolkit;

class FormPeer : public tk::FormPeer {
public:
    // Registers the one window class of all forms; the toolkit does it before the first form.
    static void register_class(HINSTANCE instance);
    // Creates the window, hidden.
    FormPeer(Win32Toolkit& toolkit, tk::Form& form);
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

    // Backend side. The window is null once destroyed.
    HWND window() const { return window_.get(); }
    tk::Form& form() const { return form_; }
    Win32Toolkit& toolkit() const { return toolkit_; }
    double twips_per_pixel() const;
    // Where a control stands in the window, in pixels of its container's client area.
    RECT placed(const tk::Control& control) const;
    bool has_native_controls() const { return !native_controls_.empty(); }
    // The id of a new native child; its peer registers itself for notifications.
    int add_native_control(NativeControl& control);
    void remove_native_control(NativeControl& control);
    UINT_PTR add_timer(TimerPeer& timer);
    void remove_timer(TimerPeer& timer);
    // The window a windowless control is painted on: its frame's, or the form's.
    HWND surface_of(const tk::Frame* container) const;
    // Marks an area of the form's own surface for repainting. During a timer tick the areas
    // gather and are painted straight to the screen when the tick ends: one paint for all a
    // tick changed, without the round trips of WM_PAINT. Otherwise the system repaints it.
    void invalidate(const RECT& area);
    // Paints the visible windowless controls standing directly in `container`, onto a DC whose
    // origin lies at `origin` of the container; with `above`, only those made after that
    // control, which lie over it.
    void paint_windowless(HDC dc, const tk::Frame* container, const tk::Control* above = nullptr,
                          POINT origin = {0, 0});
    // The brush and colour native children draw their background with.
    HBRUSH back_brush() const { return back_brush_.get(); }
    // A key message sent to one of the form's controls, for the form's key preview.
    void preview_key(const MSG& message);

private:
    static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
    void paint(HDC dc, const RECT& area);
    void mouse_move(WPARAM wparam, LPARAM lparam);
    void command(WPARAM wparam, LPARAM lparam);
    void timer_tick(UINT_PTR id);
    // A preview's frame for the tests, when they ask for it.
    void write_snapshot();
    // The host's window went, and this child window with it: the form unloads.
    void host_window_gone();
    // The size of the client area the form asks for, in pixels.
    SIZE client_size() const;
    // Fits the back buffer to the form's size and colour; repaints when it was made anew.
    void fit_surface();
    // A miniature's pictures go onto its full-size surface, which its window's back buffer
    // shows shrunk, so that what is drawn over what stays exactly as on the screen. Shrinks
    // the part of the full surface that `drawn` covers into the back buffer; returns where.
    RECT shrink_from_full(const RECT& drawn);
    // The z-order of the children follows the tab order; option buttons of one container
    // form one group for the arrow keys.
    void arrange_tab_order();
    // Puts the keyboard focus where the form had it, or on its first control.
    bool restore_focus();
    NativeControl* initial_focus() const;
    bool overlaps_windowless(const RECT& area) const;
    NativeControl* native_of(const tk::Control* control) const;
    NativeControl* native_of(HWND window) const;

    Win32Toolkit& toolkit_;
    tk::Form& form_;
    unique_hwnd window_;
    BackBuffer back_;
    BackBuffer full_;  // a miniature's full-size surface; empty otherwise
    unique_hbrush back_brush_;
    tk::Color brush_color_ = 0;
    std::string caption_;
    double synced_left_;
    double synced_top_;
    std::optional<POINT> last_mouse_;
    std::vector<NativeControl*> native_controls_;
    std::vector<TimerPeer*> timers_;
    bool in_tick_ = false;
    RECT changed_in_tick_{};  // empty when nothing changed
    int next_control_id_ = 100;
    UINT_PTR next_timer_id_ = 1;
    bool arranged_ = false;
    // A child filling a preview host's window, which places and sizes it.
    bool in_host_ = false;
    HWND modal_owner_ = nullptr;
};

}  // namespace win32
