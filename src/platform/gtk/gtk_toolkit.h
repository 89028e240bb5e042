// The toolkit on GTK 3: the saver on Wayland. With --fullscreen every form is a surface on
// the OVERLAY layer of one output (gtk-layer-shell), or, where the compositor has no layer
// shell, a full-screen window on it; the mode is drawn on the output at the layout's origin.
// Otherwise the saver opens a window of its own. Pango measures and draws text; pictures
// become cairo surfaces once; timers run on GLib's main loop; SIGTERM and SIGINT close every
// form; the compositor going away ends the program through GDK.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/gtk/gtk_owners.h"
#include "platform/gtk/gtk_resources.h"
#include "platform/gtk/gtk_text.h"
#include "platform/linux/tick_log.h"
#include "toolkit/clock_random.h"
#include "toolkit/form.h"
#include "toolkit/toolkit.h"

namespace gtkb {

class FormPeer;
class OutputCover;

enum class Placement {
    // A window of its own, as the program run by hand; q or Escape in it, or closing it, ends it.
    OwnWindow,
    // A surface of its own over every output, above everything, pointer hidden, ended by input.
    FullScreen,
    // The settings dialogs (Windows' /c): fixed-size windows of native widgets, laid out at
    // the desktop's DPI (its scale times GTK's font DPI, Xft.dpi on X11).
    Dialogs,
};

// One output while the program runs, with its place in the screen's pixels.
struct Output {
    Object<GdkMonitor> monitor;
    tk::Monitor rect;
};

class GtkToolkit : public tk::Toolkit {
  public:
    // GTK must be initialised.
    GtkToolkit(Placement placement, tk::SettingsStore& settings);
    ~GtkToolkit() override;
    GtkToolkit(const GtkToolkit&) = delete;
    GtkToolkit& operator=(const GtkToolkit&) = delete;

    std::unique_ptr<tk::FormPeer> create_form_peer(tk::Form& form) override;
    std::unique_ptr<tk::TimerPeer> create_timer_peer(tk::Timer& timer) override;
    tk::Size measure_text(const tk::Font& font, std::string_view text, double wrap_width) override;
    tk::Size measure_text_at(const tk::Font& font, std::string_view text, double wrap_width,
                             int dpi) override;
    tk::SettingsStore& settings() override { return settings_; }
    tk::Resources& resources() override { return resources_; }
    tk::Random& random() override { return random_; }
    tk::Screen screen() override { return screen_; }
    std::vector<tk::Monitor> monitors() override;
    // The saver's switch in full screen; the program reads no other.
    std::string command_line() override;
    // Another full-screen copy in this session: a lock on a file in the runtime folder, held
    // for the program's life.
    bool another_instance_running() override;
    // Counted; the pointer hides over the program's surfaces in full screen only.
    void show_cursor(bool show) override;
    // A modal GTK message dialog over the program's focused window.
    void message_box(std::string_view title, std::string_view text) override;

    // Runs until no form is loaded; the exit status.
    int run() override;

    // Backend side.
    Placement placement() const { return placement_; }
    bool layer_shell() const { return layer_shell_; }
    // Form pixels per logical pixel of the origin output: its scale, so that one picture
    // pixel is one device pixel there.
    int pixel_scale() const { return pixel_scale_; }
    // The output whose rectangle (screen pixels) starts at the given corner, else the origin's.
    GdkMonitor* output_at(int left_px, int top_px) const;
    GdkMonitor* origin_output() const;
    const TextFont& text_font(const tk::Font& font, int dpi);
    bool pointer_hidden() const { return cursor_count_ < 0; }
    GdkCursor* blank_cursor();
    // A window of its own changed size: it stays the screen, and its form takes the size.
    void surface_resized(FormPeer& form, int width_px, int height_px);
    // The form that shows the mode on the origin output: input on outputs plugged in later
    // goes to it.
    void set_saver_form(FormPeer* form) { saver_form_ = form; }

    void form_created(FormPeer& form) { forms_.push_back(&form); }
    void form_destroyed(FormPeer& form);
    void tick_delivered() { tick_log_.tick(); }

  private:
    void last_form_unloaded() override;
    void measure_outputs();
    void unload_every_form();
    void output_added(GdkMonitor* monitor);
    void output_removed(GdkMonitor* monitor);
    static gboolean on_end_signal(gpointer self);

    Placement placement_;
    tk::SettingsStore& settings_;
    TickLog tick_log_;
    GtkResources resources_;
    tk::ClockRandom random_;
    GdkDisplay* display_;
    bool layer_shell_ = false;
    int pixel_scale_ = 1;
    tk::Screen screen_;
    std::vector<Output> outputs_;
    Object<PangoContext> pango_;
    std::vector<std::pair<std::pair<tk::Font, int>, std::unique_ptr<TextFont>>> fonts_;
    bool arial_checked_ = false;
    Object<GdkCursor> blank_cursor_;
    int cursor_count_ = 0;
    int instance_lock_ = -1;
    std::optional<bool> another_instance_;
    std::vector<FormPeer*> forms_;
    FormPeer* saver_form_ = nullptr;
    std::vector<std::unique_ptr<OutputCover>> late_covers_;
    SourceId term_source_;
    SourceId int_source_;
    bool quit_ = false;
};

}  // namespace gtkb
