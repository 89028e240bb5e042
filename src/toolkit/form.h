// A window of the program. Subclasses declare their controls as members, built from their
// design values, and override the event handlers they need.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/peers.h"
#include "toolkit/picture.h"
#include "toolkit/services.h"
#include "toolkit/types.h"

namespace tk {

class Toolkit;
class Control;
class Timer;
class CommandButton;

enum class BorderStyle { None, FixedDialog };
enum class StartPosition { CenterScreen, WindowsDefault };

struct FormDesign {
    std::string name;
    std::string caption;
    double client_width = 0;  // twips
    double client_height = 0;
    BorderStyle border = BorderStyle::FixedDialog;
    StartPosition start_position = StartPosition::WindowsDefault;
    bool show_in_taskbar = true;
    bool key_preview = false;
    Color back_color = kButtonFace;
    Font font{};
};

class Form {
public:
    Form(Toolkit& toolkit, FormDesign design);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    Toolkit& toolkit() const { return toolkit_; }
    const std::string& name() const { return design_.name; }
    BorderStyle border() const { return design_.border; }
    StartPosition start_position() const { return design_.start_position; }
    bool show_in_taskbar() const { return design_.show_in_taskbar; }
    const Font& font() const { return design_.font; }

    // Lifecycle. A form object is loaded once: after unload, a fresh object is made.
    // load() creates the window, hidden, and runs Form_Load.
    void load();
    void show();
    // Returns once the form has been unloaded; the owner takes no input meanwhile.
    void show_modal(Form& owner);
    void hide();
    // Runs Form_Unload; the window and its timers go, and with the last form the program.
    void unload();
    bool loaded() const { return loaded_; }
    bool visible() const { return visible_; }
    bool modal() const { return modal_; }

    // Properties.
    const std::string& caption() const { return caption_; }
    void set_caption(std::string caption);
    Color back_color() const { return back_color_; }
    void set_back_color(Color color);
    bool key_preview() const { return key_preview_; }
    void set_key_preview(bool on);
    // Position of the window and size of its client area, in twips.
    double left() const { return left_; }
    double top() const { return top_; }
    double width() const { return width_; }
    double height() const { return height_; }
    void set_width(double twips);
    void set_height(double twips);
    void move(double left, double top);
    ScaleMode scale_mode() const { return scale_mode_; }
    void set_scale_mode(ScaleMode mode) { scale_mode_ = mode; }
    // The client area in whole pixels, as the window is made: its twips at the form's DPI,
    // rounded to the nearest pixel.
    int width_px() const;
    int height_px() const;
    // The client area in the form's coordinate unit; in pixels always a whole number.
    double scale_width() const;
    double scale_height() const;
    // The DPI the form is laid out at: the screen's, until the platform reports that the form
    // moved to a monitor of another scale.
    int dpi() const;
    double twips_per_pixel() const;

    // A miniature: a form whose window is smaller than the area it is laid out for (a screen
    // saver's preview of a monitor). Its geometry, its pictures and its fonts stay those of
    // the full area; the window shows all of it scaled by view_scale() (the window's width
    // over the form's, or its height over the form's where that is less), centred, with the
    // back colour around it. A window of the form's own size shows it one to one.
    bool miniature() const { return view_width_ > 0 && view_height_ > 0; }
    // The window's client size in pixels; the form's own while it is no miniature.
    int view_width() const;
    int view_height() const;
    double view_scale() const;
    // Where a rectangle of the form's client area, in its pixels or in twips, stands in the
    // window: scaled, and shifted by the margin around the miniature.
    PixelRect to_view(double left_px, double top_px, double width_px, double height_px) const;
    PixelRect to_view(const Rect& twips) const;
    // The DPI at which a font is drawn in the window: the form's, scaled like its lengths.
    int view_dpi() const;

    // Make the window top-most over the whole primary screen, or over one monitor, and show it.
    void place_topmost_over_screen();
    void place_topmost_over(const Monitor& monitor);
    // Draw a picture at its natural size onto the persistent surface, at (x, y) in the form's
    // coordinate unit.
    void paint_picture(const Picture& picture, double x, double y);

    // Controls and focus.
    const std::vector<Control*>& controls() const { return controls_; }
    const std::vector<Timer*>& timers() const { return timers_; }
    // The order in which Tab moves the focus; the first takes the focus when the form opens.
    void set_tab_order(std::initializer_list<Control*> order);
    const std::vector<Control*>& tab_order() const { return tab_order_; }
    Control* focused() const { return focused_; }
    CommandButton* default_button() const;
    CommandButton* cancel_button() const;

    // Input, delivered by a backend (or a test). Positions are in pixels of the window's client
    // area.
    void raise_key_down(Int16 key_code, Int16 shift);
    void raise_key_press(Int16 key_ascii);
    void raise_mouse_down(Int16 button, Int16 shift, double x_px, double y_px);
    void raise_mouse_move(Int16 button, Int16 shift, double x_px, double y_px);
    void raise_click();
    void raise_dbl_click();
    // The form now stands at another DPI: everything is laid out again from its twips, and
    // what sizes itself to its text or picture is measured again.
    void raise_dpi_changed(int dpi);
    // The form is shown as a miniature in a window of this client size, or its size changed;
    // what the form shows is placed again at the new scale, and nothing else changes.
    void set_view_size(int width_px, int height_px);
    // The user closed the window through its frame; a form may treat it as one of its buttons.
    virtual void close_box_pressed() { unload(); }
    // Enter and Escape, as the platform's dialog manager reports them.
    void press_default_button();
    void press_cancel_button();

    FormPeer* peer() const { return peer_.get(); }

    // Backend and control side.
    void register_control(Control& control);
    void unregister_control(Control& control);
    void register_timer(Timer& timer);
    void unregister_timer(Timer& timer);
    void note_focus(Control* control) { focused_ = control; }

protected:
    virtual void Form_Load() {}
    virtual void Form_KeyDown(Int16 /*KeyCode*/, Int16 /*Shift*/) {}
    virtual void Form_KeyPress(Int16 /*KeyAscii*/) {}
    virtual void Form_MouseDown(Int16 /*Button*/, Int16 /*Shift*/, float /*X*/, float /*Y*/) {}
    virtual void Form_MouseMove(Int16 /*Button*/, Int16 /*Shift*/, float /*X*/, float /*Y*/) {}
    virtual void Form_Click() {}
    virtual void Form_DblClick() {}
    virtual void Form_Unload(Int16& /*Cancel*/) {}

private:
    void sync();
    // Pixels of the client area to the form's coordinate unit.
    float to_scale(double px) const;
    // The window's pixel to the form's full-size pixel.
    double from_view_x(double px) const;
    double from_view_y(double px) const;
    int view_margin_x() const;
    int view_margin_y() const;

    Toolkit& toolkit_;
    FormDesign design_;
    std::string caption_;
    Color back_color_;
    bool key_preview_;
    double left_ = 0;
    double top_ = 0;
    double width_;
    double height_;
    ScaleMode scale_mode_ = ScaleMode::Twips;
    int dpi_ = 0;  // 0: the screen's
    int view_width_ = 0;  // 0: no miniature
    int view_height_ = 0;
    bool loaded_ = false;
    bool visible_ = false;
    bool modal_ = false;
    std::vector<Control*> controls_;
    std::vector<Timer*> timers_;
    std::vector<Control*> tab_order_;
    Control* focused_ = nullptr;
    std::unique_ptr<FormPeer> peer_;
};

}  // namespace tk
