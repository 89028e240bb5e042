#include "platform/linux/backend_choice.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace vq::hack {
namespace {

bool set(const char* value) { return value != nullptr && *value != '\0'; }

}  // namespace

BackendChoice ChooseBackend(const HackOptions& options, const SessionEnvironment& environment) {
    const bool x_window =
        options.window_id || options.root || set(environment.xscreensaver_window);
    // The dialogs are GTK windows on either display system; the --wayland and --x11 choice
    // below picks which GTK talks to.
    if (options.config) {
        if (options.window_id || options.root || options.fullscreen)
            return {Backend::Gtk, "--config opens the settings dialogs and draws nowhere else"};
        if (!set(environment.wayland_display) && !set(environment.display))
            return {Backend::Gtk, "no display: neither WAYLAND_DISPLAY nor DISPLAY is set"};
        if (options.wayland && !set(environment.wayland_display))
            return {Backend::Gtk, "--wayland, but WAYLAND_DISPLAY is not set"};
        if (options.x11 && !set(environment.display))
            return {Backend::Gtk, "--x11, but DISPLAY is not set"};
        return {Backend::Gtk, {}};
    }
    if (options.wayland) {
        if (options.window_id || options.root)
            return {Backend::Gtk, "--wayland cannot draw into an X window"};
        if (!set(environment.wayland_display))
            return {Backend::Gtk, "--wayland, but WAYLAND_DISPLAY is not set"};
        return {Backend::Gtk, {}};
    }
    if (options.x11 || x_window) {
        if (!set(environment.display))
            return {Backend::X11, "an X window or --x11, but DISPLAY is not set"};
        return {Backend::X11, {}};
    }
    if (set(environment.wayland_display)) return {Backend::Gtk, {}};
    if (set(environment.display)) return {Backend::X11, {}};
    return {Backend::X11, "no display: neither WAYLAND_DISPLAY nor DISPLAY is set"};
}

std::string GtkHalfPath(const std::string& x11_half_path) {
    const auto slash = x11_half_path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string(".") : x11_half_path.substr(0, slash);
    return folder + "/vqsaver-gtk";
}

int ExecGtkHalf(char** argv) {
    // The executable's own path, not argv[0]: a link on PATH leads to the installed folder.
    std::vector<char> self(4096);
    const ssize_t length = readlink("/proc/self/exe", self.data(), self.size() - 1);
    if (length <= 0) {
        std::fprintf(stderr, "vqsaver: cannot find its own executable: %s\n",
                     std::strerror(errno));
        return 1;
    }
    const std::string path = GtkHalfPath(std::string(self.data(), static_cast<std::size_t>(length)));
    execv(path.c_str(), argv);
    std::fprintf(stderr, "vqsaver: cannot start %s: %s\n", path.c_str(), std::strerror(errno));
    return 1;
}

}  // namespace vq::hack
