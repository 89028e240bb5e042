// The toolkit in memory, for unit tests: a fixed screen, a clock advanced by hand that fires
// timers, scripted random numbers, an in-memory store, the compiled-in content, and
// deterministic text metrics.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/headless/headless_form_peer.h"
#include "platform/headless/headless_resources.h"
#include "platform/headless/memory_settings.h"
#include "platform/headless/scripted_random.h"
#include "toolkit/toolkit.h"

namespace headless {

class HeadlessTimerPeer;

class HeadlessToolkit : public tk::Toolkit {
public:
    explicit HeadlessToolkit(tk::Screen screen = {});
    ~HeadlessToolkit() override;

    std::unique_ptr<tk::FormPeer> create_form_peer(tk::Form& form) override;
    std::unique_ptr<tk::TimerPeer> create_timer_peer(tk::Timer& timer) override;
    // Each character is half the font's pixel size wide, each line 1.25 times its pixel
    // size high (both rounded up), at the screen's DPI; lines break at spaces and line feeds.
    tk::Size measure_text(const tk::Font& font, std::string_view text, double wrap_width) override {
        return measure_text_at(font, text, wrap_width, screen_.dpi);
    }
    tk::Size measure_text_at(const tk::Font& font, std::string_view text, double wrap_width,
                             int dpi) override;
    tk::SettingsStore& settings() override {
        return settings_in_use_ != nullptr ? *settings_in_use_ : settings_;
    }
    tk::Resources& resources() override { return resources_; }
    tk::Random& random() override {
        return random_in_use_ != nullptr ? *random_in_use_ : random_;
    }
    tk::Screen screen() override { return screen_; }
    std::vector<tk::Monitor> monitors() override;
    std::string command_line() override { return command_line_; }
    bool another_instance_running() override { return another_instance_; }
    void show_cursor(bool show) override { cursor_count_ += show ? 1 : -1; }
    bool show_in_window(std::uint64_t handle) override;
    // Runs the clock, firing timers, until no form is loaded or the run limit of clock time
    // has passed; 0.
    int run() override;
    void message_box(std::string_view title, std::string_view text) override {
        messages_.push_back({std::string(title), std::string(text)});
    }

    // Test side.
    MemorySettings& store() { return settings_; }
    ScriptedRandom& scripted_random() { return random_; }
    // Another generator in place of the scripted one, for as long as the toolkit lives.
    void use_random(tk::Random& random) { random_in_use_ = &random; }
    // Another store in place of the in-memory one, for as long as the toolkit lives.
    void use_settings(tk::SettingsStore& settings) { settings_in_use_ = &settings; }
    void set_screen(tk::Screen screen) { screen_ = screen; }
    void set_monitors(std::vector<tk::Monitor> monitors) { monitors_ = std::move(monitors); }
    void set_command_line(std::string text) { command_line_ = std::move(text); }
    void set_another_instance_running(bool running) { another_instance_ = running; }
    // A window of a host, by handle and client size, that a preview request may name.
    void set_host_window(std::uint64_t handle, int width_px, int height_px) {
        host_window_ = HostWindow{handle, width_px, height_px};
    }
    // The host window's size for the first form made after a preview request, once.
    std::optional<std::pair<int, int>> claim_host_window();
    // Each message box shown, (title, text), in order.
    const std::vector<std::pair<std::string, std::string>>& messages() const { return messages_; }
    // 0 while the pointer shows as at start; each hide request takes one off.
    int cursor_count() const { return cursor_count_; }
    // True once the last loaded form has been unloaded.
    bool ended() const { return ended_; }
    static HeadlessFormPeer& peer_of(const tk::Form& form);

    // The clock, in milliseconds since the toolkit was made. advance() fires every timer
    // tick that falls due in the time given, in time order.
    long long now() const { return now_; }
    void advance(long long ms);
    // Character metrics, in pixels, of a font at a DPI (the screen's unless given).
    int char_width_px(const tk::Font& font, int dpi = 0) const;
    int line_height_px(const tk::Font& font, int dpi = 0) const;

private:
    friend class HeadlessTimerPeer;
    void last_form_unloaded() override { ended_ = true; }
    // Fires the first timer tick due by `until`, moving the clock to it; false if none is.
    bool fire_next(long long until);

    tk::Screen screen_;
    std::vector<tk::Monitor> monitors_;
    MemorySettings settings_;
    tk::SettingsStore* settings_in_use_ = nullptr;
    HeadlessResources resources_;
    ScriptedRandom random_;
    tk::Random* random_in_use_ = nullptr;
    std::string command_line_;
    bool another_instance_ = false;
    struct HostWindow {
        std::uint64_t handle;
        int width_px;
        int height_px;
    };
    std::optional<HostWindow> host_window_;
    bool preview_requested_ = false;
    int cursor_count_ = 0;
    std::vector<std::pair<std::string, std::string>> messages_;
    bool ended_ = false;
    long long now_ = 0;
    // How much clock time run() runs at most.
    static constexpr long long kRunLimitMs = 60'000;
    std::vector<HeadlessTimerPeer*> timers_;
};

}  // namespace headless
