#include "platform/headless/headless_toolkit.h"

#include <algorithm>
#include <cmath>

#include "toolkit/timer.h"

namespace headless {
namespace {

// The caption as shown: "&" marks an access key and is not drawn, "&&" shows one "&".
std::string shown_text(std::string_view text) {
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

// The lengths, in characters, of the lines the text breaks into.
std::vector<std::size_t> line_lengths(const std::string& text, std::size_t max_chars) {
    std::vector<std::size_t> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view paragraph(text.data() + start, end - start);
        std::size_t line = 0;
        std::size_t pos = 0;
        bool any_word = false;
        while (pos <= paragraph.size()) {
            const std::size_t space = std::min(paragraph.find(' ', pos), paragraph.size());
            const std::size_t word = space - pos;
            if (!any_word) {
                line = word;
                any_word = true;
            } else if (max_chars == 0 || line + 1 + word <= max_chars) {
                line += 1 + word;
            } else {
                lines.push_back(line);
                line = word;
            }
            pos = space + 1;
        }
        lines.push_back(line);
        if (end == text.size()) break;
        start = end + 1;
    }
    return lines;
}

}  // namespace

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

int HeadlessToolkit::char_width_px(const tk::Font& font, int dpi) const {
    return static_cast<int>(std::ceil(font.size * (dpi > 0 ? dpi : screen_.dpi) / 72.0 / 2));
}

int HeadlessToolkit::line_height_px(const tk::Font& font, int dpi) const {
    return static_cast<int>(std::ceil(font.size * (dpi > 0 ? dpi : screen_.dpi) / 72.0 * 1.25));
}

tk::Size HeadlessToolkit::measure_text_at(const tk::Font& font, std::string_view text,
                                          double wrap_width, int dpi) {
    const double tpp = 1440.0 / dpi;
    const int char_width = char_width_px(font, dpi);
    const std::size_t max_chars =
        wrap_width > 0 ? std::max<std::size_t>(1, static_cast<std::size_t>(
                                                      wrap_width / tpp / char_width))
                       : 0;
    const std::vector<std::size_t> lines = line_lengths(shown_text(text), max_chars);
    const std::size_t longest = *std::max_element(lines.begin(), lines.end());
    return {static_cast<double>(longest) * char_width * tpp,
            static_cast<double>(lines.size()) * line_height_px(font, dpi) * tpp};
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
