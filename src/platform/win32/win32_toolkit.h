// The toolkit on Win32: real windows and timers, GDI text metrics, the registry, the
// compiled-in resources, and the message loop that drives it all.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/registry_store.h"
#include "platform/win32/tick_log.h"
#include "platform/win32/win32_resources.h"
#include "toolkit/clock_random.h"
#include "toolkit/toolkit.h"

namespace win32 {

class FormPeer;

class Win32Toolkit : public tk::Toolkit {
public:
    explicit Win32Toolkit(HINSTANCE instance);
    ~Win32Toolkit() override;

    std::unique_ptr<tk::FormPeer> create_form_peer(tk::Form& form) override;
    std::unique_ptr<tk::TimerPeer> create_timer_peer(tk::Timer& timer) override;
    tk::Size measure_text(const tk::Font& font, std::string_view text, double wrap_width) override {
        return measure_text_at(font, text, wrap_width, screen().dpi);
    }
    tk::Size measure_text_at(const tk::Font& font, std::string_view text, double wrap_width,
                             int dpi) override;
    tk::SettingsStore& settings() override { return settings_; }
    tk::Resources& resources() override { return resources_; }
    tk::Random& random() override { return random_; }
    tk::Screen screen() override;
    std::vector<tk::Monitor> monitors() override;
    std::string command_line() override;
    bool another_instance_running() override;
    void show_cursor(bool show) override;
    bool show_in_window(std::uint64_t handle) override;

    // Backend side.
    HINSTANCE instance() const { return instance_; }
    // The host's window for the first form made after a preview request, once; else null.
    HWND claim_preview_host() { return std::exchange(unclaimed_host_, nullptr); }
    // The font at a DPI, made once and kept for the program's life.
    HFONT font(const tk::Font& font, int dpi);
    // Timers raise the system timer resolution while any of them runs.
    void timer_started();
    void timer_stopped();
    // The screen's size or resolution changed: screen() measures it anew.
    void display_changed() { screen_.reset(); }
    // Every tick a timer delivers, logged when the benchmark asks for it.
    void tick_delivered() { tick_log_.tick(); }
    // Forms whose windows exist, for routing keyboard messages.
    void form_created(FormPeer& form);
    void form_destroyed(FormPeer& form);

    // Takes and handles one message; false once the program is to end (WM_QUIT arrived).
    bool pump_message();
    // The message loop, until no form is loaded; the program's exit code.
    int run() override;

private:
    void last_form_unloaded() override;
    // Key preview and the dialog manager, before a message is dispatched; true if handled.
    bool pre_translate(MSG& message);
    FormPeer* form_of(HWND window) const;

    struct CachedFont {
        tk::Font font;
        int dpi;
        unique_hfont handle;
    };

    HINSTANCE instance_;
    RegistryStore settings_;
    Win32Resources resources_;
    tk::ClockRandom random_;
    std::vector<CachedFont> fonts_;
    std::optional<tk::Screen> screen_;
    unique_hdc measure_dc_;
    std::vector<FormPeer*> forms_;
    std::optional<bool> another_instance_;
    // A preview's host window: the screen is then the monitor that holds it.
    HWND preview_host_ = nullptr;
    HWND unclaimed_host_ = nullptr;
    unique_handle instance_mutex_;
    TickLog tick_log_;
    int running_timers_ = 0;
    bool resolution_raised_ = false;
    bool quit_ = false;
    int exit_code_ = 0;
};

}  // namespace win32
