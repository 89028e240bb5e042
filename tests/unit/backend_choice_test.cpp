#include "platform/linux/backend_choice.h"

#include <gtest/gtest.h>

namespace vq::hack {
namespace {

TEST(BackendChoice, AnXWindowMeansX11AWaylandSessionGtkAndNeitherDisplayAnError) {
    HackOptions none;
    HackOptions fullscreen;
    fullscreen.fullscreen = true;
    HackOptions root;
    root.root = true;
    HackOptions window;
    window.window_id = 0x400001;
    HackOptions x11;
    x11.x11 = true;
    HackOptions wayland;
    wayland.wayland = true;
    HackOptions wayland_root = root;
    wayland_root.wayland = true;
    HackOptions config;
    config.config = true;
    HackOptions config_root = root;
    config_root.config = true;
    const char* kX = ":1";
    const char* kW = "wayland-1";
    const struct {
        const char* name;
        const HackOptions& options;
        SessionEnvironment environment;
        Backend backend;
        bool error;
    } cases[] = {
        {"X session, own window", none, {kX, nullptr, nullptr}, Backend::X11, false},
        {"X session, full screen", fullscreen, {kX, nullptr, nullptr}, Backend::X11, false},
        {"xscreensaver's window", none, {kX, nullptr, "0x400001"}, Backend::X11, false},
        {"xscreensaver's window under XWayland", none, {kX, kW, "0x400001"}, Backend::X11, false},
        {"--root under XWayland", root, {kX, kW, nullptr}, Backend::X11, false},
        {"--window-id under XWayland", window, {kX, kW, nullptr}, Backend::X11, false},
        {"Wayland session, full screen", fullscreen, {nullptr, kW, nullptr}, Backend::Gtk, false},
        {"Wayland with XWayland", fullscreen, {kX, kW, nullptr}, Backend::Gtk, false},
        {"--x11 under XWayland", x11, {kX, kW, nullptr}, Backend::X11, false},
        {"--wayland", wayland, {kX, kW, nullptr}, Backend::Gtk, false},
        {"empty WAYLAND_DISPLAY", none, {kX, "", nullptr}, Backend::X11, false},
        {"neither display", fullscreen, {nullptr, nullptr, nullptr}, Backend::X11, true},
        {"both empty", none, {"", "", nullptr}, Backend::X11, true},
        {"--x11 without DISPLAY", x11, {nullptr, kW, nullptr}, Backend::X11, true},
        {"--root without DISPLAY", root, {nullptr, kW, nullptr}, Backend::X11, true},
        {"--wayland without WAYLAND_DISPLAY", wayland, {kX, nullptr, nullptr}, Backend::Gtk, true},
        {"--wayland into an X window", wayland_root, {kX, kW, nullptr}, Backend::Gtk, true},
        {"--config in an X session", config, {kX, nullptr, nullptr}, Backend::Gtk, false},
        {"--config under xscreensaver", config, {kX, nullptr, "0x400001"}, Backend::Gtk, false},
        {"--config on Wayland", config, {nullptr, kW, nullptr}, Backend::Gtk, false},
        {"--config without a display", config, {nullptr, nullptr, nullptr}, Backend::Gtk, true},
        {"--config into an X window", config_root, {kX, kW, nullptr}, Backend::Gtk, true},
    };
    for (const auto& c : cases) {
        const BackendChoice choice = ChooseBackend(c.options, c.environment);
        EXPECT_EQ(!choice.error.empty(), c.error) << c.name << ": " << choice.error;
        EXPECT_EQ(choice.error.find('\n'), std::string::npos) << c.name;
        if (!c.error) {
            EXPECT_EQ(choice.backend, c.backend) << c.name;
        }
    }
}

TEST(BackendChoice, TheGtkHalfLiesBesideTheEntry) {
    EXPECT_EQ(GtkHalfPath("/usr/libexec/xscreensaver/vqsaver"),
              "/usr/libexec/xscreensaver/vqsaver-gtk");
    EXPECT_EQ(GtkHalfPath("vqsaver"), "./vqsaver-gtk");
}

}  // namespace
}  // namespace vq::hack
