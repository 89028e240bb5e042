#include "platform/gtk/gtk_toolkit.h"

#include <fcntl.h>
#include <glib-unix.h>
#include <gtk-layer-shell.h>
#include <pango/pangocairo.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/gtk/gtk_form_peer.h"
#include "platform/gtk/gtk_timer_peer.h"
#include "toolkit/text_rules.h"

namespace gtkb {
namespace {

// GTK's font resolution in logical pixels (Xft.dpi on X11, divided by the scale), else 96;
// one beyond what a display can have counts as 96 too.
int font_dpi() {
    gint xft_dpi = 0;  // 1024ths of a dot per inch; -1 when unset
    g_object_get(gtk_settings_get_default(), "gtk-xft-dpi", &xft_dpi, nullptr);
    const int dpi = static_cast<int>(std::lround(xft_dpi / 1024.0));
    return dpi >= 48 && dpi <= 480 ? dpi : 96;
}

// A scale the program can draw at: GTK 3 gives whole numbers; anything else counts as 1.
int usable_scale(int scale) {
    return scale >= 1 && scale <= 8 ? scale : 1;
}

// Whether the compositor offers the layer shell. The library warns when it does not; the
// program says it once, in its own words.
bool compositor_has_layer_shell() {
    const guint quiet = g_log_set_handler(
        nullptr, G_LOG_LEVEL_WARNING, [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {},
        nullptr);
    const bool supported = gtk_layer_is_supported();
    g_log_remove_handler(nullptr, quiet);
    return supported;
}

// Where the lock of full-screen copies lives: one per Wayland display in the user's runtime
// folder (a display given as a path names its socket; its slashes do not make folders).
std::string instance_lock_path() {
    std::string display = "wayland-0";
    if (const char* named = std::getenv("WAYLAND_DISPLAY"); named != nullptr && *named != '\0')
        display = named;
    std::replace(display.begin(), display.end(), '/', '_');
    return std::string(g_get_user_runtime_dir()) + "/vqsaver-" + display + ".lock";
}

}  // namespace

GtkToolkit::GtkToolkit(Placement placement, tk::SettingsStore& settings)
    : placement_(placement), settings_(settings), display_(gdk_display_get_default()) {
    layer_shell_ = placement_ == Placement::FullScreen && compositor_has_layer_shell();
    if (placement_ == Placement::FullScreen && !layer_shell_)
        std::fputs("vqsaver: the compositor has no layer shell: full-screen windows instead, "
                   "which other windows may cover\n",
                   stderr);
    PangoFontMap* font_map = pango_cairo_font_map_get_default();
    pango_.reset(pango_font_map_create_context(font_map));
    // Whole-pixel advances, as Windows lays text out, so lines measure the same.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(pango_.get(), options);
    cairo_font_options_destroy(options);
    measure_outputs();
    g_signal_connect(display_, "monitor-added",
                     G_CALLBACK(+[](GdkDisplay*, GdkMonitor* monitor, gpointer self) {
                         static_cast<GtkToolkit*>(self)->output_added(monitor);
                     }),
                     this);
    g_signal_connect(display_, "monitor-removed",
                     G_CALLBACK(+[](GdkDisplay*, GdkMonitor* monitor, gpointer self) {
                         static_cast<GtkToolkit*>(self)->output_removed(monitor);
                     }),
                     this);
    term_source_ = SourceId(g_unix_signal_add(SIGTERM, on_end_signal, this));
    int_source_ = SourceId(g_unix_signal_add(SIGINT, on_end_signal, this));
}

GtkToolkit::~GtkToolkit() {
    g_signal_handlers_disconnect_by_data(display_, this);
    late_covers_.clear();
    if (instance_lock_ >= 0) close(instance_lock_);
}

void GtkToolkit::measure_outputs() {
    outputs_.clear();
    const int count = gdk_display_get_n_monitors(display_);
    GdkMonitor* origin = nullptr;
    for (int i = 0; i < count; ++i) {
        GdkMonitor* monitor = gdk_display_get_monitor(display_, i);
        GdkRectangle area{};
        gdk_monitor_get_geometry(monitor, &area);
        if (area.x == 0 && area.y == 0 && origin == nullptr) origin = monitor;
    }
    // Wayland names no primary output: the one at the layout's origin is, else the first.
    if (origin == nullptr && count > 0) origin = gdk_display_get_monitor(display_, 0);
    GdkRectangle origin_area{0, 0, 800, 600};
    if (origin != nullptr) {
        gdk_monitor_get_geometry(origin, &origin_area);
        pixel_scale_ = usable_scale(gdk_monitor_get_scale_factor(origin));
    }
    const int scale = pixel_scale_;
    for (int i = 0; i < count; ++i) {
        GdkMonitor* monitor = gdk_display_get_monitor(display_, i);
        GdkRectangle area{};
        gdk_monitor_get_geometry(monitor, &area);
        if (area.width <= 0 || area.height <= 0) continue;
        // In the origin output's device pixels, relative to its corner.
        const tk::Monitor rect{(area.x - origin_area.x) * scale, (area.y - origin_area.y) * scale,
                               area.width * scale, area.height * scale, monitor == origin};
        outputs_.push_back({Object<GdkMonitor>(GDK_MONITOR(g_object_ref(monitor))), rect});
    }
    screen_.dpi = placement_ == Placement::Dialogs ? scale * font_dpi() : 96 * scale;
    const int width = std::max(1, origin_area.width) * scale;
    const int height = std::max(1, origin_area.height) * scale;
    if (placement_ == Placement::OwnWindow) {
        // The program run by hand opens a window of a usual size, within the origin output.
        screen_.width_px = std::min(800 * scale, width);
        screen_.height_px = std::min(600 * scale, height);
        return;
    }
    screen_.width_px = width;
    screen_.height_px = height;
}

std::unique_ptr<tk::FormPeer> GtkToolkit::create_form_peer(tk::Form& form) {
    return std::make_unique<FormPeer>(*this, form);
}

std::unique_ptr<tk::TimerPeer> GtkToolkit::create_timer_peer(tk::Timer& timer) {
    return std::make_unique<TimerPeer>(*this, timer);
}

tk::Size GtkToolkit::measure_text(const tk::Font& font, std::string_view text, double wrap_width) {
    return measure_text_at(font, text, wrap_width, screen_.dpi);
}

tk::Size GtkToolkit::measure_text_at(const tk::Font& font, std::string_view text,
                                     double wrap_width, int dpi) {
    const double tpp = 1440.0 / std::max(1, dpi);
    const int wrap_px = wrap_width > 0 ? std::max(1, tk::twips_to_pixels(wrap_width, tpp)) : 0;
    const TextLayout layout = text_font(font, dpi).lay_out(text, wrap_px);
    return {layout.width * tpp, layout.height() * tpp};
}

std::vector<tk::Monitor> GtkToolkit::monitors() {
    if (placement_ == Placement::OwnWindow)
        return {{0, 0, screen_.width_px, screen_.height_px, true}};
    std::vector<tk::Monitor> found;
    for (const Output& output : outputs_) found.push_back(output.rect);
    if (found.empty()) found.push_back({0, 0, screen_.width_px, screen_.height_px, true});
    return found;
}

std::string GtkToolkit::command_line() {
    switch (placement_) {
        case Placement::FullScreen: return "/s";
        case Placement::Dialogs: return "/c";
        case Placement::OwnWindow: break;
    }
    return "";
}

void GtkToolkit::message_box(std::string_view title, std::string_view text) {
    GtkWindow* parent = nullptr;
    for (FormPeer* form : forms_) {
        if (form->window() != nullptr && gtk_window_is_active(GTK_WINDOW(form->window())))
            parent = GTK_WINDOW(form->window());
    }
    GtkWidget* dialog = gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR,
                                               GTK_BUTTONS_OK, "%s", std::string(text).c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), std::string(title).c_str());
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
}

bool GtkToolkit::another_instance_running() {
    if (another_instance_) return *another_instance_;
    instance_lock_ = open(instance_lock_path().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // Without a lock file nothing can tell; the copy runs.
    another_instance_ = instance_lock_ >= 0 && flock(instance_lock_, LOCK_EX | LOCK_NB) != 0;
    return *another_instance_;
}

void GtkToolkit::show_cursor(bool show) {
    if (placement_ != Placement::FullScreen) return;
    cursor_count_ += show ? 1 : -1;
    for (FormPeer* form : forms_) form->apply_cursor();
    for (const auto& cover : late_covers_) cover->apply_cursor();
}

GdkCursor* GtkToolkit::blank_cursor() {
    if (!blank_cursor_) blank_cursor_.reset(gdk_cursor_new_for_display(display_, GDK_BLANK_CURSOR));
    return blank_cursor_.get();
}

GdkMonitor* GtkToolkit::output_at(int left_px, int top_px) const {
    for (const Output& output : outputs_)
        if (output.rect.left == left_px && output.rect.top == top_px) return output.monitor.get();
    return origin_output();
}

GdkMonitor* GtkToolkit::origin_output() const {
    for (const Output& output : outputs_)
        if (output.rect.primary) return output.monitor.get();
    return nullptr;
}

const TextFont& GtkToolkit::text_font(const tk::Font& font, int dpi) {
    for (const auto& [key, made] : fonts_)
        if (key.first == font && key.second == dpi) return *made;
    fonts_.emplace_back(std::make_pair(font, dpi), std::make_unique<TextFont>(pango_.get(), font, dpi));
    const TextFont& made = *fonts_.back().second;
    // Pango always answers with some face: one of other metrics than Arial's makes every
    // caption wider or narrower than the dialogs and the saver were laid out for.
    if (!arial_checked_ && tk::family_to_match(font.name) == "Arial") {
        arial_checked_ = true;
        const std::string warning = tk::arial_metrics_warning(made.face_family());
        if (!warning.empty()) std::fprintf(stderr, "vqsaver: %s\n", warning.c_str());
    }
    return made;
}

void GtkToolkit::surface_resized(FormPeer& form, int width_px, int height_px) {
    if (width_px == screen_.width_px && height_px == screen_.height_px) return;
    screen_.width_px = width_px;
    screen_.height_px = height_px;
    const double tpp = screen_.twips_per_pixel();
    form.form().set_width(width_px * tpp);
    form.form().set_height(height_px * tpp);
}

void GtkToolkit::form_destroyed(FormPeer& form) {
    std::erase(forms_, &form);
    if (saver_form_ == &form) {
        saver_form_ = nullptr;
        late_covers_.clear();
    }
}

void GtkToolkit::output_added(GdkMonitor* monitor) {
    // Only a running saver covers what is plugged in.
    if (placement_ != Placement::FullScreen || saver_form_ == nullptr || quit_) return;
    late_covers_.push_back(std::make_unique<OutputCover>(*this, monitor, *saver_form_));
}

void GtkToolkit::output_removed(GdkMonitor* monitor) {
    std::erase_if(late_covers_, [monitor](const auto& cover) { return cover->monitor() == monitor; });
}

gboolean GtkToolkit::on_end_signal(gpointer self) {
    static_cast<GtkToolkit*>(self)->unload_every_form();
    return G_SOURCE_CONTINUE;
}

void GtkToolkit::unload_every_form() {
    std::vector<tk::Form*> loaded;
    for (FormPeer* form : forms_) loaded.push_back(&form->form());
    for (tk::Form* form : loaded)
        if (form->loaded()) form->unload();
    last_form_unloaded();
}

void GtkToolkit::last_form_unloaded() {
    quit_ = true;
    late_covers_.clear();
    if (gtk_main_level() > 0) gtk_main_quit();
}

int GtkToolkit::run() {
    if (!quit_ && loaded_form_count() > 0) gtk_main();
    // What the compositor still has to hear (the surfaces' end) goes before the exit.
    gdk_display_flush(display_);
    return 0;
}

}  // namespace gtkb
