// The Linux program's entry, in xscreensaver's conventions for hacks: it draws into the
// window named by --window-id or XSCREENSAVER_WINDOW, into the (virtual) root with --root,
// or into a window of its own; with --fullscreen that window covers every monitor and the
// saver ends on input as on Windows. SIGTERM and SIGINT end it cleanly, status 0.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string_view>
#include <vector>

#include "platform/linux/backend_choice.h"
#include "platform/linux/hack_options.h"
#include "platform/linux/settings_file.h"
#include "platform/x11/x11_toolkit.h"
#include "platform/x11/xlib.h"
#include "startup/caption_sizes.h"
#include "startup/mod_vq_saver.h"
#include "startup/program.h"

namespace {

int g_signal_pipe[2] = {-1, -1};

// Only what is safe in a signal handler: the event loop wakes on the pipe and closes.
void on_signal(int) {
    const char byte = 1;
    const ssize_t written = write(g_signal_pipe[1], &byte, 1);
    static_cast<void>(written);
}

bool catch_end_signals() {
    if (pipe2(g_signal_pipe, O_NONBLOCK | O_CLOEXEC) != 0) return false;
    struct sigaction action {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    return sigaction(SIGTERM, &action, nullptr) == 0 && sigaction(SIGINT, &action, nullptr) == 0;
}

// The classic virtual root: a child of the root carrying __SWM_VROOT; else the root.
Window virtual_root(Display* display) {
    const Window root = DefaultRootWindow(display);
    const Atom vroot = XInternAtom(display, "__SWM_VROOT", True);
    if (vroot == None) return root;
    Window root_return = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = root;
    if (XQueryTree(display, root, &root_return, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && found == root; ++i) {
            Atom type = None;
            int format = 0;
            unsigned long items = 0;
            unsigned long after = 0;
            unsigned char* data = nullptr;
            if (XGetWindowProperty(display, children[i], vroot, 0, 1, False, XA_WINDOW, &type,
                                   &format, &items, &after, &data) == Success &&
                type == XA_WINDOW && items == 1 && data != nullptr)
                found = *reinterpret_cast<Window*>(data);
            if (data != nullptr) XFree(data);
        }
        if (children != nullptr) XFree(children);
    }
    return found;
}

x11::Target choose_target(Display* display, const vq::hack::HackOptions& options) {
    std::optional<std::uint32_t> from_environment;
    if (const char* text = std::getenv("XSCREENSAVER_WINDOW"); text != nullptr)
        from_environment = vq::hack::ParseWindowId(text);
    if (options.window_id) return {x11::Placement::GivenWindow, *options.window_id};
    // xscreensaver's own program lines end in --root and mean the window it names.
    if (options.root)
        return {x11::Placement::GivenWindow,
                from_environment ? *from_environment : virtual_root(display)};
    if (from_environment) return {x11::Placement::GivenWindow, *from_environment};
    return {options.fullscreen ? x11::Placement::FullScreen : x11::Placement::OwnWindow, None};
}

}  // namespace

int main(int argc, char** argv) {
    const vq::hack::EntryCommandLine line = vq::hack::ReadEntryCommandLine(argc, argv);
    if (line.end_status) return *line.end_status;
    const vq::hack::ParseResult& parsed = line.parsed;
    // A Wayland session is drawn by the GTK half, a separate executable, so that the hack
    // never maps GTK's libraries.
    const vq::hack::BackendChoice choice = vq::hack::ChooseBackend(
        parsed.options,
        {std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"), std::getenv("XSCREENSAVER_WINDOW")});
    if (!choice.error.empty()) {
        std::fprintf(stderr, "vqsaver: %s\n", choice.error.c_str());
        return 1;
    }
    if (choice.backend == vq::hack::Backend::Gtk) return vq::hack::ExecGtkHalf(argv);
    if (!catch_end_signals()) {
        std::perror("vqsaver: signals");
        return 1;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "vqsaver: cannot open display '%s'\n", XDisplayName(nullptr));
        return 1;
    }
    const x11::Target target = choose_target(display, parsed.options);
    vq::hack::FileSettingsStore settings(
        vq::hack::SettingsFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")),
        parsed.options.settings);
    try {
        x11::X11Toolkit toolkit(display, target, settings, g_signal_pipe[0]);
        vq::Program program(toolkit);
        if (parsed.options.measure) {
            std::fputs(vq::CaptionSizes(program).c_str(), stdout);
            return 0;
        }
        if (target.placement == x11::Placement::FullScreen) {
            // The saver path of Windows' /s: a second full-screen copy ends at once, input
            // ends the first.
            modVQSaver::Main(program);
        } else {
            // In a window it is given, input belongs to whoever gave it: lngRunMode stays 0,
            // so the saver window never closes itself.
            program.load_main_screen_saver();
        }
        return toolkit.run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vqsaver: %s\n", error.what());
        return 1;
    }
}
