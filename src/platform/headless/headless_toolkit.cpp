#include "platform/headless/headless_toolkit.h"

#include <algorithm>
#include <cmath>

#include "platform/headless/headless_timer_peer.h"
#include "toolkit/text_rules.h"
#include "toolkit/timer.h"

namespace headless {
HeadlessToolkit::HeadlessToolkit(tk::Screen screen) : screen_(screen) {}

HeadlessToolkit::~HeadlessToolkit() = default;

std::unique_ptr<tk::FormPeer> HeadlessToolkit::create_form_peer(tk::Form& form) {
    auto peer = std::make_unique<HeadlessFormPeer>(form);
    if (const auto host = claim_host_window()) form.set_view_size(host->first, host->second);
    return peer;
}

bool HeadlessToolkit::show_in_window(std::uint64_t handle) {
    preview_requested_ = host_window_ && host_window_->handle == handle;
    return preview_requested_;
}

std::optional<std::pair<int, int>> HeadlessToolkit::claim_host_window() {
    if (!preview_requested_) return std::nullopt;
    preview_requested_ = false;
    return std::pair{host_window_->width_px, host_window_->height_px};
}

std::unique_ptr<tk::TimerPeer> HeadlessToolkit::create_timer_peer(tk::Timer& timer) {
    return std::make_unique<HeadlessTimerPeer>(*this, timer);
}

// Every character is half the font's height wide; a line is 1.25 heights.
int HeadlessToolkit::char_width_px(const tk::Font& font, int dpi) const {
    return (tk::font_pixel_height(font.size, dpi > 0 ? dpi : screen_.dpi) + 1) / 2;
}

int HeadlessToolkit::line_height_px(const tk::Font& font, int dpi) const {
    const int height = tk::font_pixel_height(font.size, dpi > 0 ? dpi : screen_.dpi);
    return (height * 5 + 3) / 4;
}

tk::Size HeadlessToolkit::measure_text_at(const tk::Font& font, std::string_view text,
                                          double wrap_width, int dpi) {
    const double tpp = 1440.0 / dpi;
    const int char_width = char_width_px(font, dpi);
    const auto width_of = [char_width](std::string_view line) {
        return static_cast<int>(line.size()) * char_width;
    };
    const int wrap_px = wrap_width > 0 ? std::max(1, tk::twips_to_pixels(wrap_width, tpp)) : 0;
    int widest = 0;
    const std::vector<std::string> lines = tk::break_lines(tk::shown_text(text), wrap_px, width_of);
    for (const std::string& line : lines) widest = std::max(widest, width_of(line));
    return {widest * tpp, static_cast<double>(lines.size()) * line_height_px(font, dpi) * tpp};
}

std::vector<tk::Monitor> HeadlessToolkit::monitors() {
    if (!monitors_.empty()) return monitors_;
    return {{0, 0, screen_.width_px, screen_.height_px, true}};
}

HeadlessFormPeer& HeadlessToolkit::peer_of(const tk::Form& form) {
    return *static_cast<HeadlessFormPeer*>(form.peer());
}

bool HeadlessToolkit::fire_next(long long until) {
    HeadlessTimerPeer* next = nullptr;
    for (HeadlessTimerPeer* timer : timers_) {
        if (timer->due_ && *timer->due_ <= until && (next == nullptr || *timer->due_ < *next->due_))
            next = timer;
    }
    if (next == nullptr) return false;
    now_ = *next->due_;
    next->due_ = now_ + next->timer_.interval();
    next->timer_.raise_tick();
    return true;
}

void HeadlessToolkit::advance(long long ms) {
    const long long until = now_ + ms;
    while (fire_next(until)) {
    }
    now_ = until;
}

int HeadlessToolkit::run() {
    const long long until = now_ + kRunLimitMs;
    while (loaded_form_count() > 0 && fire_next(until)) {
    }
    if (loaded_form_count() > 0) now_ = until;
    return 0;
}

}  // namespace headless
