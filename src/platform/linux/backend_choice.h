// Which half of the Linux program draws: the Xlib one (the xscreensaver hack, and any X
// session) or the GTK one (Wayland sessions). Decided here from the options and the
// session's environment, and nowhere else.
#pragma once

#include <string>

#include "platform/linux/hack_options.h"

namespace vq::hack {

enum class Backend { X11, Gtk };

struct SessionEnvironment {
    const char* display = nullptr;              // DISPLAY
    const char* wayland_display = nullptr;      // WAYLAND_DISPLAY
    const char* xscreensaver_window = nullptr;  // XSCREENSAVER_WINDOW
};

struct BackendChoice {
    Backend backend = Backend::X11;
    // Empty when a backend was chosen; else one line saying why none can run.
    std::string error;
};

// An X window to draw into (--window-id, --root, XSCREENSAVER_WINDOW) means X11; --x11 and
// --wayland force one; otherwise Wayland when WAYLAND_DISPLAY is set, else X11 when DISPLAY
// is. An empty variable counts as unset.
BackendChoice ChooseBackend(const HackOptions& options, const SessionEnvironment& environment);

// The GTK half's executable beside the given one (the Xlib half's path).
std::string GtkHalfPath(const std::string& x11_half_path);

// Replaces this process with the GTK half beside the running executable, with the same
// arguments; returns only when it cannot, having said why on stderr (then the exit status).
int ExecGtkHalf(char** argv);

}  // namespace vq::hack
