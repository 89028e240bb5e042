#include "platform/gtk/gtk_form_peer.h"

#include <gtk-layer-shell.h>

#include <algorithm>
#include <cmath>

#include "platform/gtk/gtk_native_controls.h"
#include "platform/gtk/gtk_picture.h"
#include "platform/gtk/gtk_toolkit.h"
#include "platform/gtk/gtk_windowless_controls.h"
#include "platform/linux/virtual_keys.h"
#include "toolkit/command_button.h"
#include "toolkit/text_rules.h"

namespace gtkb {
namespace {

constexpr gint kInputEvents = GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                              GDK_POINTER_MOTION_MASK | GDK_ENTER_NOTIFY_MASK;

tk::Int16 shift_of(guint state) {
    return static_cast<tk::Int16>(((state & GDK_SHIFT_MASK) != 0 ? 1 : 0) |
                                  ((state & GDK_CONTROL_MASK) != 0 ? 2 : 0) |
                                  ((state & GDK_MOD1_MASK) != 0 ? 4 : 0));
}

tk::Int16 buttons_of(guint state) {
    return static_cast<tk::Int16>(((state & GDK_BUTTON1_MASK) != 0 ? 1 : 0) |
                                  ((state & GDK_BUTTON3_MASK) != 0 ? 2 : 0) |
                                  ((state & GDK_BUTTON2_MASK) != 0 ? 4 : 0));
}

// Left, right and middle, as Win32 numbers them; the wheel is no press.
tk::Int16 button_of(guint button) {
    switch (button) {
        case 1:
            return 1;
        case 3:
            return 2;
        case 2:
            return 4;
        default:
            return 0;
    }
}

// Key, press, release, motion and crossing events of a window, to a receiver.
template <typename Receiver>
void connect_input(GtkWidget* window, GtkWidget* area, Receiver* receiver) {
    gtk_widget_add_events(area, kInputEvents);
    g_signal_connect(window, "key-press-event",
                     G_CALLBACK(+[](GtkWidget*, GdkEventKey* event, gpointer self) -> gboolean {
                         return static_cast<Receiver*>(self)->on_key(*event);
                     }),
                     receiver);
    g_signal_connect(
        area, "button-press-event",
        G_CALLBACK(+[](GtkWidget*, GdkEventButton* event, gpointer self) -> gboolean {
            // A double click also arrives as single presses; those are what count.
            if (event->type == GDK_BUTTON_PRESS)
                static_cast<Receiver*>(self)->on_button(event->button, event->state, event->x,
                                                        event->y);
            return TRUE;
        }),
        receiver);
    g_signal_connect(area, "button-release-event",
                     G_CALLBACK(+[](GtkWidget*, GdkEventButton* event, gpointer self) -> gboolean {
                         static_cast<Receiver*>(self)->on_release(event->button);
                         return TRUE;
                     }),
                     receiver);
    g_signal_connect(area, "motion-notify-event",
                     G_CALLBACK(+[](GtkWidget*, GdkEventMotion* event, gpointer self) -> gboolean {
                         static_cast<Receiver*>(self)->on_motion(event->state, event->x, event->y);
                         return TRUE;
                     }),
                     receiver);
    // A surface that appears under the pointer hears of it as a move, as on Windows: the
    // saver's first move only records where the pointer is.
    g_signal_connect(area, "enter-notify-event",
                     G_CALLBACK(+[](GtkWidget*, GdkEventCrossing* event, gpointer self) -> gboolean {
                         if (event->mode == GDK_CROSSING_NORMAL)
                             static_cast<Receiver*>(self)->on_motion(event->state, event->x,
                                                                     event->y);
                         return FALSE;
                     }),
                     receiver);
}

void set_window_cursor(GtkWidget* window, GtkToolkit& toolkit) {
    GdkWindow* gdk_window = window != nullptr ? gtk_widget_get_window(window) : nullptr;
    if (gdk_window == nullptr) return;
    gdk_window_set_cursor(gdk_window, toolkit.pointer_hidden() ? toolkit.blank_cursor() : nullptr);
}

// A closed surface (its output went away) is only hidden: the program carries on.
gboolean hide_on_delete(GtkWidget* window, GdkEvent*, gpointer) {
    gtk_widget_hide(window);
    return TRUE;
}

// Puts a cover window over its output: the layer surface's output, or full screen there.
void cover_output(GtkWindow* window, GtkToolkit& toolkit, GdkMonitor* monitor) {
    if (monitor == nullptr) return;
    if (toolkit.layer_shell()) {
        gtk_layer_set_monitor(window, monitor);
        return;
    }
    GdkDisplay* display = gdk_monitor_get_display(monitor);
    for (int i = 0; i < gdk_display_get_n_monitors(display); ++i)
        if (gdk_display_get_monitor(display, i) == monitor)
            gtk_window_fullscreen_on_monitor(window, gdk_display_get_default_screen(display), i);
}

}  // namespace

TopLevel make_cover_window(GtkToolkit& toolkit, GdkMonitor* monitor) {
    TopLevel window(gtk_window_new(GTK_WINDOW_TOPLEVEL));
    GtkWindow* gtk_window = GTK_WINDOW(window.get());
    gtk_window_set_decorated(gtk_window, FALSE);
    gtk_window_set_skip_taskbar_hint(gtk_window, TRUE);
    if (toolkit.layer_shell()) {
        gtk_layer_init_for_window(gtk_window);
        gtk_layer_set_namespace(gtk_window, "vqsaver");
        gtk_layer_set_layer(gtk_window, GTK_LAYER_SHELL_LAYER_OVERLAY);
        for (const GtkLayerShellEdge edge :
             {GTK_LAYER_SHELL_EDGE_LEFT, GTK_LAYER_SHELL_EDGE_RIGHT, GTK_LAYER_SHELL_EDGE_TOP,
              GTK_LAYER_SHELL_EDGE_BOTTOM})
            gtk_layer_set_anchor(gtk_window, edge, TRUE);
        gtk_layer_set_exclusive_zone(gtk_window, -1);
        gtk_layer_set_keyboard_mode(gtk_window, GTK_LAYER_SHELL_KEYBOARD_MODE_EXCLUSIVE);
    }
    cover_output(gtk_window, toolkit, monitor);
    GdkRGBA black{0, 0, 0, 1};
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gtk_widget_override_background_color(window.get(), GTK_STATE_FLAG_NORMAL, &black);
    G_GNUC_END_IGNORE_DEPRECATIONS
    return window;
}

FormPeer::FormPeer(GtkToolkit& toolkit, tk::Form& form) : toolkit_(toolkit), form_(form) {
    if (toolkit.placement() == Placement::FullScreen) {
        window_ = make_cover_window(toolkit, nullptr);
        g_signal_connect(window_.get(), "delete-event", G_CALLBACK(hide_on_delete), nullptr);
    } else {
        window_.reset(gtk_window_new(GTK_WINDOW_TOPLEVEL));
        if (toolkit.placement() == Placement::Dialogs) {
            gtk_window_set_resizable(GTK_WINDOW(window_.get()), FALSE);
            gtk_window_set_type_hint(GTK_WINDOW(window_.get()), GDK_WINDOW_TYPE_HINT_DIALOG);
            gtk_window_set_position(GTK_WINDOW(window_.get()), GTK_WIN_POS_CENTER);
            gtk_window_set_skip_taskbar_hint(GTK_WINDOW(window_.get()), !form.show_in_taskbar());
            style_dialog_window(window_.get(), form, toolkit.pixel_scale());
            // Every dialog carries the program's icon, as a window manager's title bar or task
            // list shows it.
            const auto icon =
                std::dynamic_pointer_cast<const GtkPicture>(toolkit.resources().load_icon());
            if (const Object<GdkPixbuf> pixbuf{icon ? icon->new_pixbuf() : nullptr})
                gtk_window_set_icon(GTK_WINDOW(window_.get()), pixbuf.get());
        }
        const PixelRect client = client_rect();
        const int scale = toolkit.pixel_scale();
        gtk_window_set_default_size(GTK_WINDOW(window_.get()), std::max(1, client.width / scale),
                                    std::max(1, client.height / scale));
        g_signal_connect(window_.get(), "delete-event",
                         G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer self) -> gboolean {
                             static_cast<FormPeer*>(self)->form_.close_box_pressed();
                             return TRUE;
                         }),
                         this);
    }
    gtk_window_set_title(GTK_WINDOW(window_.get()), form.caption().c_str());
    GtkWidget* overlay = gtk_overlay_new();
    area_ = gtk_drawing_area_new();
    // In a dialog the focus goes round its widgets only.
    gtk_widget_set_can_focus(area_, toolkit.placement() != Placement::Dialogs);
    gtk_container_add(GTK_CONTAINER(overlay), area_);
    GtkWidget* fixed = gtk_fixed_new();
    fixed_ = GTK_FIXED(fixed);
    gtk_overlay_add_overlay(GTK_OVERLAY(overlay), fixed);
    gtk_overlay_set_overlay_pass_through(GTK_OVERLAY(overlay), fixed, TRUE);
    gtk_container_add(GTK_CONTAINER(window_.get()), overlay);
    g_signal_connect(area_, "draw", G_CALLBACK(+[](GtkWidget*, cairo_t* cairo, gpointer self) {
                         static_cast<FormPeer*>(self)->draw(cairo);
                         return TRUE;
                     }),
                     this);
    g_signal_connect(area_, "size-allocate",
                     G_CALLBACK(+[](GtkWidget*, GdkRectangle* allocation, gpointer self) {
                         static_cast<FormPeer*>(self)->allocated(allocation->width,
                                                                  allocation->height);
                     }),
                     this);
    g_signal_connect(window_.get(), "realize", G_CALLBACK(+[](GtkWidget*, gpointer self) {
                         static_cast<FormPeer*>(self)->apply_cursor();
                     }),
                     this);
    g_signal_connect(window_.get(), "map", G_CALLBACK(+[](GtkWidget*, gpointer self) {
                         static_cast<FormPeer*>(self)->mapped();
                     }),
                     this);
    // Hidden (its output gone, say), the window's own surface goes, and with it what stood on it.
    g_signal_connect(window_.get(), "unmap", G_CALLBACK(+[](GtkWidget*, gpointer self) {
                         static_cast<FormPeer*>(self)->shown_by_.reset();
                     }),
                     this);
    connect_input(window_.get(), area_, this);
    gtk_widget_show_all(overlay);
    toolkit_.form_created(*this);
    fit_surface();
}

FormPeer::~FormPeer() {
    destroy();
}

PixelRect FormPeer::client_rect() const {
    return {0, 0, std::max(1, form_.width_px()), std::max(1, form_.height_px())};
}

std::unique_ptr<tk::ControlPeer> FormPeer::create_control_peer(tk::Control& control) {
    // The saver's forms have no dialog widgets: any such control keeps its state in the
    // portable object only.
    struct Absent : tk::ControlPeer {
        explicit Absent(tk::Control& c) : control(c) {}
        void sync() override {}
        void focus() override { control.raise_got_focus(); }
        tk::Control& control;
    };
    if (toolkit_.placement() == Placement::Dialogs) return create_native_control(*this, control);
    if (is_windowless(control.kind())) return std::make_unique<WindowlessPeer>(*this, control);
    return std::make_unique<Absent>(control);
}

void FormPeer::sync() {
    if (!window_) return;
    gtk_window_set_title(GTK_WINDOW(window_.get()), form_.caption().c_str());
    const PixelRect client = client_rect();
    const int scale = toolkit_.pixel_scale();
    if (toolkit_.placement() == Placement::OwnWindow) {
        gtk_window_resize(GTK_WINDOW(window_.get()), std::max(1, client.width / scale),
                          std::max(1, client.height / scale));
    } else if (toolkit_.placement() == Placement::Dialogs) {
        gtk_widget_set_size_request(area_, std::max(1, client.width / scale),
                                    std::max(1, client.height / scale));
    }
    fit_surface();
}

void FormPeer::fit_surface() {
    if (!window_) return;
    const PixelRect client = client_rect();
    if (!back_.fit(client.width, client.height, form_.back_color())) return;
    if (shown_by_) shown_by_->resize(back_.width(), back_.height());
    invalidate({0, 0, back_.width(), back_.height()});
}

void FormPeer::mapped() {
    // A saver's surface changes forty times a second; GTK's painting would cost a new
    // buffer of the whole output each time.
    if (toolkit_.placement() != Placement::FullScreen || shown_by_) return;
    shown_by_ = WaylandSurface::over(window_.get(), toolkit_.pixel_scale(),
                                     [this](cairo_surface_t* image, const PixelRect& area) {
                                         paint_into(image, area);
                                     });
    if (shown_by_) shown_by_->resize(back_.width(), back_.height());
}

void FormPeer::show(tk::Modality modality, tk::Form* owner) {
    if (!window_) return;
    if (owner != nullptr && owner->peer() != nullptr) {
        if (GtkWidget* parent = static_cast<FormPeer*>(owner->peer())->window())
            gtk_window_set_transient_for(GTK_WINDOW(window_.get()), GTK_WINDOW(parent));
    }
    gtk_window_set_modal(GTK_WINDOW(window_.get()), modality == tk::Modality::Modal);
    if (toolkit_.placement() == Placement::Dialogs) arrange_focus(*this);
    gtk_widget_show(window_.get());
    shown_ = true;
    invalidate({0, 0, back_.width(), back_.height()});
    if (modality != tk::Modality::Modal) return;
    // Returns once the form is unloaded (destroy() ends the loop).
    modal_loop_ = g_main_loop_new(nullptr, FALSE);
    g_main_loop_run(modal_loop_);
    g_main_loop_unref(modal_loop_);
    modal_loop_ = nullptr;
}

void FormPeer::hide() {
    if (!window_ || !shown_) return;
    gtk_widget_hide(window_.get());
    shown_ = false;
}

void FormPeer::place_topmost(int left_px, int top_px, int, int) {
    if (!window_) return;
    if (toolkit_.placement() == Placement::FullScreen) {
        monitor_ = toolkit_.output_at(left_px, top_px);
        if (monitor_ == toolkit_.origin_output()) toolkit_.set_saver_form(this);
        cover_output(GTK_WINDOW(window_.get()), toolkit_, monitor_);
    }
    gtk_widget_show(window_.get());
    shown_ = true;
    fit_surface();
    invalidate({0, 0, back_.width(), back_.height()});
}

void FormPeer::draw_picture(const tk::Picture& picture, int x_px, int y_px) {
    if (!window_) return;
    const auto* gtk_picture = dynamic_cast<const GtkPicture*>(&picture);
    if (gtk_picture == nullptr) return;
    back_.draw(gtk_picture->surface(), x_px, y_px);
    invalidate({x_px, y_px, picture.width_px(), picture.height_px()});
}

void FormPeer::destroy() {
    if (!window_) return;
    toolkit_.form_destroyed(*this);
    if (modal_loop_ != nullptr) g_main_loop_quit(modal_loop_);
    shown_by_.reset();
    area_ = nullptr;
    fixed_ = nullptr;
    window_.reset();
}

void FormPeer::invalidate(const PixelRect& area) {
    if (area_ == nullptr || area.empty()) return;
    if (shown_by_) {
        shown_by_->damage(area);
        return;
    }
    // Whole logical pixels that hold the area's form pixels.
    const int scale = toolkit_.pixel_scale();
    const int left = area.left / scale;
    const int top = area.top / scale;
    const int right = (area.left + area.width + scale - 1) / scale;
    const int bottom = (area.top + area.height + scale - 1) / scale;
    gtk_widget_queue_draw_area(area_, left, top, right - left, bottom - top);
}

void FormPeer::draw(cairo_t* cairo) {
    const double scale = toolkit_.pixel_scale();
    cairo_scale(cairo, 1 / scale, 1 / scale);
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    cairo_clip_extents(cairo, &x1, &y1, &x2, &y2);
    paint(cairo, {static_cast<int>(std::floor(x1)), static_cast<int>(std::floor(y1)),
                  static_cast<int>(std::ceil(x2 - std::floor(x1))),
                  static_cast<int>(std::ceil(y2 - std::floor(y1)))});
}

void FormPeer::paint(cairo_t* cairo, const PixelRect& area) {
    // Beyond the form's size (a surface larger than asked for) the form's colour shows.
    if (area.left < 0 || area.top < 0 || area.left + area.width > back_.width() ||
        area.top + area.height > back_.height()) {
        set_source_color(cairo, form_.back_color());
        cairo_paint(cairo);
    }
    back_.paint_to(cairo);
    paint_windowless_controls(cairo, toolkit_, form_, area);
}

void FormPeer::paint_into(cairo_surface_t* image, const PixelRect& area) {
    // A tick's change is mostly a picture on bare buffer: copied as it is.
    if (!windowless_controls_meet(form_, area)) {
        back_.copy_to(image, area);
        return;
    }
    Cairo cairo(cairo_create(image));
    cairo_rectangle(cairo.get(), area.left, area.top, area.width, area.height);
    cairo_clip(cairo.get());
    paint(cairo.get(), area);
}

void FormPeer::allocated(int width, int height) {
    // A window of its own stands for the screen and takes whatever size it is given.
    if (toolkit_.placement() != Placement::OwnWindow || width <= 1 || height <= 1) return;
    const int scale = toolkit_.pixel_scale();
    toolkit_.surface_resized(*this, width * scale, height * scale);
}

void FormPeer::apply_cursor() {
    if (toolkit_.placement() == Placement::FullScreen) set_window_cursor(window_.get(), toolkit_);
}

bool FormPeer::on_key(const GdkEventKey& event) {
    if (event.type != GDK_KEY_PRESS) return TRUE;
    if (toolkit_.placement() == Placement::Dialogs) return on_dialog_key(event);
    const guint32 unicode = gdk_keyval_to_unicode(event.keyval);
    // A window of its own, run by hand, ends on q or Escape.
    if (toolkit_.placement() == Placement::OwnWindow) {
        if (event.keyval == GDK_KEY_q || event.keyval == GDK_KEY_Q ||
            event.keyval == GDK_KEY_Escape)
            form_.unload();
        return TRUE;
    }
    form_.raise_key_down(vq::hack::VirtualKeyOf(event.keyval, event.hardware_keycode),
                         shift_of(event.state));
    if (window_ && unicode != 0 && unicode < 0x80)
        form_.raise_key_press(static_cast<tk::Int16>(unicode));
    return TRUE;
}

bool FormPeer::on_dialog_key(const GdkEventKey& event) {
    const guint32 unicode = gdk_keyval_to_unicode(event.keyval);
    form_.raise_key_down(vq::hack::VirtualKeyOf(event.keyval, event.hardware_keycode),
                         shift_of(event.state));
    if (window_ && unicode != 0 && unicode < 0x80)
        form_.raise_key_press(static_cast<tk::Int16>(unicode));
    if (!window_) return TRUE;  // a handler unloaded the form
    if (event.keyval == GDK_KEY_Escape) {
        press_button(true);
        return TRUE;
    }
    if (event.keyval == GDK_KEY_Return || event.keyval == GDK_KEY_KP_Enter ||
        event.keyval == GDK_KEY_ISO_Enter) {
        GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window_.get()));
        if (focus != nullptr && GTK_IS_BUTTON(focus) && !GTK_IS_TOGGLE_BUTTON(focus))
            return FALSE;
        press_button(false);
        return TRUE;
    }
    return FALSE;
}

void FormPeer::press_button(bool cancel) {
    for (tk::Control* control : form_.controls()) {
        if (control->kind() != tk::ControlKind::CommandButton || !control->visible() ||
            !control->enabled())
            continue;
        auto& button = static_cast<tk::CommandButton&>(*control);
        if (cancel ? button.is_cancel() : button.is_default()) {
            button.press();
            return;
        }
    }
}

void FormPeer::on_button(guint button, guint state, double x, double y) {
    const tk::Int16 pressed = button_of(button);
    const int scale = toolkit_.pixel_scale();
    if (pressed != 0) form_.raise_mouse_down(pressed, shift_of(state), x * scale, y * scale);
}

void FormPeer::on_release(guint button) {
    if (button_of(button) != 0) form_.raise_click();
}

void FormPeer::on_motion(guint state, double x, double y) {
    const int scale = toolkit_.pixel_scale();
    form_.raise_mouse_move(buttons_of(state), shift_of(state), x * scale, y * scale);
}

OutputCover::OutputCover(GtkToolkit& toolkit, GdkMonitor* monitor, FormPeer& saver)
    : toolkit_(toolkit), monitor_(monitor), saver_(saver), window_(make_cover_window(toolkit, monitor)) {
    g_signal_connect(window_.get(), "delete-event", G_CALLBACK(hide_on_delete), nullptr);
    g_signal_connect(window_.get(), "realize", G_CALLBACK(+[](GtkWidget*, gpointer self) {
                         static_cast<OutputCover*>(self)->apply_cursor();
                     }),
                     this);
    GtkWidget* area = gtk_drawing_area_new();
    gtk_container_add(GTK_CONTAINER(window_.get()), area);
    connect_input(window_.get(), area, this);
    gtk_widget_show_all(window_.get());
}

void OutputCover::apply_cursor() {
    set_window_cursor(window_.get(), toolkit_);
}

double OutputCover::to_saver_x(double x) const {
    GdkRectangle mine{};
    GdkRectangle saver{};
    gdk_monitor_get_geometry(monitor_, &mine);
    if (saver_.monitor() != nullptr) gdk_monitor_get_geometry(saver_.monitor(), &saver);
    return x + mine.x - saver.x;
}

double OutputCover::to_saver_y(double y) const {
    GdkRectangle mine{};
    GdkRectangle saver{};
    gdk_monitor_get_geometry(monitor_, &mine);
    if (saver_.monitor() != nullptr) gdk_monitor_get_geometry(saver_.monitor(), &saver);
    return y + mine.y - saver.y;
}

void OutputCover::on_button(guint button, guint state, double x, double y) {
    saver_.on_button(button, state, to_saver_x(x), to_saver_y(y));
}

void OutputCover::on_motion(guint state, double x, double y) {
    saver_.on_motion(state, to_saver_x(x), to_saver_y(y));
}

}  // namespace gtkb
