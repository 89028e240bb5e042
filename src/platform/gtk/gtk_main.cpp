// The GTK half of the Linux program, which the entry (vqsaver) starts in a Wayland session:
// the same options and settings file. With --fullscreen it is the saver of Windows' /s over
// every output; without, the saver in a window of its own. SIGTERM and SIGINT end it with
// status 0.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string_view>
#include <vector>

#include "platform/gtk/gtk_toolkit.h"
#include "platform/linux/backend_choice.h"
#include "platform/linux/hack_options.h"
#include "platform/linux/settings_file.h"
#include "startup/mod_vq_saver.h"
#include "startup/program.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const vq::hack::ParseResult parsed = vq::hack::ParseHackOptions(arguments);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "vqsaver: %s\n%s", parsed.error.c_str(), vq::hack::Usage().c_str());
        return 2;
    }
    if (parsed.options.help) {
        std::fputs(vq::hack::Usage().c_str(), stdout);
        return 0;
    }
    const vq::hack::BackendChoice choice = vq::hack::ChooseBackend(
        parsed.options,
        {std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"), std::getenv("XSCREENSAVER_WINDOW")});
    if (!choice.error.empty() || choice.backend != vq::hack::Backend::Gtk) {
        std::fprintf(stderr, "vqsaver: %s\n",
                     choice.error.empty() ? "this half draws on Wayland only; run vqsaver"
                                          : choice.error.c_str());
        return 1;
    }
    g_set_prgname("vqsaver");
    gdk_set_allowed_backends("wayland");
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fprintf(stderr, "vqsaver: cannot open the Wayland display '%s'\n",
                     std::getenv("WAYLAND_DISPLAY"));
        return 1;
    }
    vq::hack::FileSettingsStore settings(
        vq::hack::SettingsFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")),
        parsed.options.settings);
    try {
        const auto placement =
            parsed.options.fullscreen ? gtkb::Placement::FullScreen : gtkb::Placement::OwnWindow;
        gtkb::GtkToolkit toolkit(placement, settings);
        vq::Program program(toolkit);
        if (placement == gtkb::Placement::FullScreen) {
            // The saver path of Windows' /s: a second full-screen copy ends at once, input
            // ends the first.
            modVQSaver::Main(program);
        } else {
            program.load_main_screen_saver();
        }
        return toolkit.run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vqsaver: %s\n", error.what());
        return 1;
    }
}
