// The GTK half of the Linux program, which the entry (vqsaver) starts in a Wayland session
// and for the settings dialogs: the same options and settings file. With --fullscreen it is
// the saver of Windows' /s over every output; with --config the dialogs of Windows' /c, on
// Wayland or X11, which save the settings file; with neither, the saver in a window of its
// own. SIGTERM and SIGINT end it with status 0.
#include <gtk/gtk.h>
#include <sys/prctl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gtk/gtk_toolkit.h"
#include "platform/linux/backend_choice.h"
#include "platform/linux/hack_options.h"
#include "platform/linux/settings_file.h"
#include "platform/linux/settings_file_writer.h"
#include "startup/caption_sizes.h"
#include "startup/mod_vq_saver.h"
#include "startup/program.h"

namespace {

// A compositor with no seat (a headless one) has no keyboard for GDK to ask about, and GDK
// complains from its start on each time it asks for one; the program needs none there.
void quiet_missing_seat() {
    g_log_set_handler(
        "Gdk", G_LOG_LEVEL_CRITICAL,
        [](const gchar* domain, GLogLevelFlags level, const gchar* message, gpointer) {
            if (message == nullptr || std::strstr(message, "GDK_IS_SEAT") == nullptr)
                g_log_default_handler(domain, level, message, nullptr);
        },
        nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    const vq::hack::EntryCommandLine line = vq::hack::ReadEntryCommandLine(argc, argv);
    if (line.end_status) return *line.end_status;
    const vq::hack::ParseResult& parsed = line.parsed;
    const vq::hack::BackendChoice choice = vq::hack::ChooseBackend(
        parsed.options, {std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"),
                         std::getenv("XSCREENSAVER_WINDOW")});
    if (!choice.error.empty() || choice.backend != vq::hack::Backend::Gtk) {
        std::fprintf(stderr, "vqsaver: %s\n",
                     choice.error.empty() ? "this half draws on Wayland only; run vqsaver"
                                          : choice.error.c_str());
        return 1;
    }
    // One program to its users: killall, pidof and ps know it by the entry's name.
    prctl(PR_SET_NAME, "vqsaver", 0, 0, 0);
    g_set_prgname("vqsaver");
    const bool config = parsed.options.config;
    gdk_set_allowed_backends(!config || parsed.options.wayland ? "wayland"
                             : parsed.options.x11              ? "x11"
                                                               : "wayland,x11");
    quiet_missing_seat();
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fprintf(stderr, "vqsaver: cannot open the display\n");
        return 1;
    }
    const std::string path =
        vq::hack::SettingsFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    gtkb::GtkToolkit* shown_on = nullptr;
    std::unique_ptr<tk::SettingsStore> settings;
    if (config) {
        settings = std::make_unique<vq::hack::SavingSettingsStore>(
            path, [&shown_on](std::string_view title, std::string_view text) {
                if (shown_on != nullptr) shown_on->message_box(title, text);
            });
    } else {
        settings = std::make_unique<vq::hack::FileSettingsStore>(path, parsed.options.settings);
    }
    try {
        const auto placement = config                      ? gtkb::Placement::Dialogs
                               : parsed.options.fullscreen ? gtkb::Placement::FullScreen
                                                           : gtkb::Placement::OwnWindow;
        gtkb::GtkToolkit toolkit(placement, *settings);
        shown_on = &toolkit;
        vq::Program program(toolkit);
        if (parsed.options.measure) {
            std::fputs(vq::CaptionSizes(program).c_str(), stdout);
            shown_on = nullptr;
            return 0;
        }
        if (placement != gtkb::Placement::OwnWindow) {
            // Windows' /s or /c: a second copy ends at once; input ends the saver, the
            // chooser's OK or Cancel the dialogs.
            modVQSaver::Main(program);
        } else {
            program.load_main_screen_saver();
        }
        const int status = toolkit.run();
        shown_on = nullptr;
        return status;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vqsaver: %s\n", error.what());
        return 1;
    }
}
