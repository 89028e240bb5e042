// The toolkit on Xlib: what the saver window needs on Linux. Its forms draw into a window
// they are given (xscreensaver's, or the root), or into windows of their own; Xft measures
// and draws text; pictures go to the server once and are copied from there; timers are the
// event loop's timeouts; SIGTERM, SIGINT and the given window's end close every form.
#pragma once

#include "platform/x11/xlib.h"

// The toolkit's headers come before Xlib's, whose macros (None, Bool, Status) would
// otherwise rename their enumerators.

#include <chrono>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <vector>

#include "platform/linux/tick_log.h"
#include "platform/x11/x11_handles.h"
#include "platform/x11/x11_resources.h"
#include "platform/x11/x11_timer_peer.h"
#include "toolkit/clock_random.h"
#include "toolkit/form.h"
#include "toolkit/toolkit.h"

namespace x11 {

class FormPeer;
class TimerPeer;

enum class Placement {
    // A window the program is given: it draws there at whatever size the window has, takes
    // no input and leaves the pointer alone; the window is the screen and the one monitor.
    GivenWindow,
    // A window of its own, as a hack run by hand; q or Escape in it, or closing it, ends it.
    OwnWindow,
    // Windows of its own over every monitor, top-most, pointer hidden, ended by input.
    FullScreen,
};

struct Target {
    Placement placement = Placement::OwnWindow;
    Window window = None;  // GivenWindow only
};

class X11Toolkit : public tk::Toolkit {
  public:
    // Takes over the display; signal_fd becomes readable when the program is to end.
    X11Toolkit(Display* display, Target target, tk::SettingsStore& settings, int signal_fd);
    ~X11Toolkit() override;
    X11Toolkit(const X11Toolkit&) = delete;
    X11Toolkit& operator=(const X11Toolkit&) = delete;

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
    // Another full-screen copy on this display (only full-screen copies ask).
    bool another_instance_running() override;
    // Counted; the pointer hides over the program's windows in full screen only.
    void show_cursor(bool show) override;

    // Runs the event loop until no form is loaded; the exit status.
    int run() override;

    // Backend side.
    Display* display() const { return display_; }
    Placement placement() const { return target_.placement; }
    Window root() const { return root_; }
    Visual* visual() const { return visual_; }
    int depth() const { return depth_; }
    Colormap colormap() const { return colormap_; }
    // The given window for the first form that asks, once; None otherwise.
    Window claim_given_window();
    // Where the primary monitor's top-left corner lies on the X screen: the program places
    // windows relative to it, as Windows puts the primary screen at (0, 0).
    int origin_x() const { return origin_x_; }
    int origin_y() const { return origin_y_; }
    // The primary monitor in X screen coordinates.
    tk::Monitor primary_monitor() const { return primary_; }
    unsigned long pixel(tk::Color color);
    const XftColor* xft_color(tk::Color color);
    // The font at a DPI (the screen's unless given), opened on first use; null if none is.
    XftFont* font(const tk::Font& font, int dpi = 0);
    // The given window is smaller than the monitor holding it: the form is its miniature.
    bool given_miniature() const { return given_miniature_; }
    // The picture's pixmap on the server, made on first use; None if it cannot be.
    Pixmap pixmap_of(const tk::Picture& picture);
    // A pixmap of the screen's depth, empty for a size of nothing. One the server cannot make
    // ends the program with status 1, saying so, and comes back empty.
    unique_pixmap create_pixmap(int width, int height);
    // An error the server reported: each kind is logged once on standard error.
    void x_error(const XErrorEvent& error);
    bool pointer_hidden() const { return cursor_count_ < 0; }
    Cursor blank_cursor();
    // The full-screen window that takes the keyboard.
    void want_keyboard(Window window);
    // The window that stands for the screen (a given one, or a window of its own) changed
    // size: it stays the screen, and its form takes the new size.
    void surface_resized(FormPeer& form, int width, int height);
    void given_window_gone() { given_gone_ = true; }

    void form_created(FormPeer& form) { forms_.push_back(&form); }
    void form_destroyed(FormPeer& form);
    void timer_created(TimerPeer& timer) { timers_.push_back(&timer); }
    void timer_destroyed(TimerPeer& timer);
    Clock::time_point now() const { return Clock::now(); }

    // Every tick a timer delivers, logged when the benchmark asks for it.
    void tick_delivered() { tick_log_.tick(); }

  private:
    void last_form_unloaded() override { quit_ = true; }
    // Says why on standard error and ends the event loop with status 1.
    void fail(const std::string& why);
    void measure_screen();
    void dispatch(XEvent& event);
    void fire_due_timers();
    void flush_forms();
    void unload_every_form();
    // Says once on standard error when Arial is answered by a face of other metrics.
    void check_arial_metrics(XftFont* xft);
    void try_keyboard_grab();
    std::optional<Clock::time_point> next_due() const;

    // Declared first so that it closes last, after every resource made on it is freed;
    // display_ is its pointer, for the many Xlib calls.
    unique_display connection_;
    Display* const display_;
    Target target_;
    tk::SettingsStore& settings_;
    int signal_fd_;
    TickLog tick_log_;
    X11Resources resources_;
    tk::ClockRandom random_;
    int screen_number_ = 0;
    Window root_ = None;
    Visual* visual_ = nullptr;
    int depth_ = 0;
    Colormap colormap_ = None;
    tk::Screen screen_;
    std::vector<tk::Monitor> monitors_;
    tk::Monitor primary_;
    int origin_x_ = 0;
    int origin_y_ = 0;
    bool given_claimed_ = false;
    bool given_miniature_ = false;
    bool given_gone_ = false;
    std::map<tk::Color, unsigned long> pixels_;
    std::map<tk::Color, XftColor> xft_colors_;
    bool arial_checked_ = false;
    std::vector<std::tuple<tk::Font, int, unique_xft_font>> fonts_;  // font, pixel height, Xft's
    std::vector<unique_pixmap> picture_pixmaps_;
    unique_gc picture_gc_;
    unique_cursor blank_cursor_;
    int cursor_count_ = 0;
    unique_window instance_window_;
    std::optional<bool> another_instance_;
    Window keyboard_window_ = None;
    bool keyboard_grabbed_ = false;
    Clock::time_point keyboard_wanted_{};
    Clock::time_point next_keyboard_try_{};
    bool keyboard_held_said_ = false;
    std::set<int> errors_logged_;
    unsigned long failed_request_ = 0;
    int exit_status_ = 0;
    std::vector<FormPeer*> forms_;
    std::vector<TimerPeer*> timers_;
    bool quit_ = false;
};

}  // namespace x11
