#include "platform/headless/headless_toolkit.h"

#include <algorithm>
#include <cmath>

#include "toolkit/text_rules.h"
#include "toolkit/timer.h"

namespace headless {
HeadlessToolkit::HeadlessToolkit(tk::Screen screen) : screen_(screen) {}

HeadlessToolkit::~HeadlessToolkit() = default;

std::unique_ptr<tk::FormPeer> HeadlessToolkit::create_form_peer(tk::Form& form) {
    return std::make_unique<HeadlessFormPeer>(form);
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

void HeadlessToolkit::advance(long long ms) {
    const long long until = now_ + ms;
    while (true) {
        HeadlessTimerPeer* next = nullptr;
        for (HeadlessTimerPeer* timer : timers_) {
            if (timer->due_ && *timer->due_ <= until && (next == nullptr || *timer->due_ < *next->due_))
                next = timer;
        }
        if (next == nullptr) break;
        now_ = *next->due_;
        next->due_ = now_ + next->timer_.interval();
        next->timer_.raise_tick();
    }
    now_ = until;
}

HeadlessTimerPeer::HeadlessTimerPeer(HeadlessToolkit& toolkit, tk::Timer& timer)
    : toolkit_(toolkit), timer_(timer) {
    toolkit_.timers_.push_back(this);
}

HeadlessTimerPeer::~HeadlessTimerPeer() { std::erase(toolkit_.timers_, this); }

void HeadlessTimerPeer::sync() {
    if (timer_.running()) {
        due_ = toolkit_.now_ + timer_.interval();
    } else {
        due_.reset();
    }
}

}  // namespace headless
