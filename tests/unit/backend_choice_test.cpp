#include "platform/linux/backend_choice.h"

#include <gtest/gtest.h>

namespace vq::hack {
namespace {

TEST(BackendChoice, AnXWindowMeansX11AWaylandSessionGtkAndNeitherDisplayAnError) {
    const char* kX = ":1";
    const char* kW = "wayland-1";
    const struct {
        const char* name;
        std::vector<std::string_view> options;
        SessionEnvironment environment;
        Backend backend;
        bool error;
    } cases[] = {
        {"X session, own window", {}, {kX, nullptr, nullptr}, Backend::X11, false},
        {"X session, full screen", {"--fullscreen"}, {kX, nullptr, nullptr}, Backend::X11, false},
        {"xscreensaver's window", {}, {kX, nullptr, "0x400001"}, Backend::X11, false},
        {"xscreensaver's window under XWayland", {}, {kX, kW, "0x400001"}, Backend::X11, false},
        {"--root under XWayland", {"--root"}, {kX, kW, nullptr}, Backend::X11, false},
        {"--window-id, XWayland", {"--window-id=0x400001"}, {kX, kW, nullptr}, Backend::X11, false},
        {"Wayland, full screen", {"--fullscreen"}, {nullptr, kW, nullptr}, Backend::Gtk, false},
        {"Wayland with XWayland", {"--fullscreen"}, {kX, kW, nullptr}, Backend::Gtk, false},
        {"--x11 under XWayland", {"--x11"}, {kX, kW, nullptr}, Backend::X11, false},
        {"--wayland", {"--wayland"}, {kX, kW, nullptr}, Backend::Gtk, false},
        {"empty WAYLAND_DISPLAY", {}, {kX, "", nullptr}, Backend::X11, false},
        {"neither display", {"--fullscreen"}, {nullptr, nullptr, nullptr}, Backend::X11, true},
        {"both empty", {}, {"", "", nullptr}, Backend::X11, true},
        {"--x11 without DISPLAY", {"--x11"}, {nullptr, kW, nullptr}, Backend::X11, true},
        {"--root without DISPLAY", {"--root"}, {nullptr, kW, nullptr}, Backend::X11, true},
        {"--wayland, no Wayland", {"--wayland"}, {kX, nullptr, nullptr}, Backend::Gtk, true},
        {"--wayland into --root", {"--root", "--wayland"}, {kX, kW, nullptr}, Backend::Gtk, true},
        {"--config in an X session", {"--config"}, {kX, nullptr, nullptr}, Backend::Gtk, false},
        {"--config, xscreensaver", {"--config"}, {kX, nullptr, "0x400001"}, Backend::Gtk, false},
        {"--config on Wayland", {"--config"}, {nullptr, kW, nullptr}, Backend::Gtk, false},
        {"--config, no display", {"--config"}, {nullptr, nullptr, nullptr}, Backend::Gtk, true},
        {"--config into --root", {"--root", "--config"}, {kX, kW, nullptr}, Backend::Gtk, true},
    };
    for (const auto& c : cases) {
        const ParseResult parsed = ParseHackOptions(c.options);
        ASSERT_EQ(parsed.error, "") << c.name;
        const BackendChoice choice = ChooseBackend(parsed.options, c.environment);
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
