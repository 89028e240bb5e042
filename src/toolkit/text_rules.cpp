#include "toolkit/text_rules.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

namespace tk {
namespace {

// Beyond this a font or a coordinate is nonsense; clamping keeps the arithmetic defined.
constexpr double kMaxPixels = 1 << 20;

int rounded_pixels(double pixels) {
    if (std::isnan(pixels)) return 0;
    return static_cast<int>(std::lround(std::clamp(pixels, -kMaxPixels, kMaxPixels)));
}

bool same_name(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

int font_pixel_height(double points, int dpi) {
    if (!(points > 0) || dpi <= 0) return 1;
    const double at_96 = std::round(std::min(points * 96 / 72.0, kMaxPixels));
    const double scaled = std::round(std::min(points * dpi / 72.0, kMaxPixels));
    const double cap = std::floor(at_96 * dpi / 96.0);
    return std::max(1, rounded_pixels(std::min(scaled, cap)));
}

std::string shown_text(std::string_view caption) {
    std::string shown;
    shown.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        shown += caption[i];
    }
    return shown;
}

std::vector<std::string> break_lines(std::string_view shown, int wrap_px,
                                     const TextWidth& width_of) {
    std::vector<std::string> lines;
    // Blanks after a line's last word stay on it as far as they fit, as Win32 measures them.
    const auto add_blanks_that_fit = [&](std::string& line, std::size_t count) {
        for (; count > 0; --count) {
            line += ' ';
            if (width_of(line) > wrap_px) {
                line.pop_back();
                return;
            }
        }
    };
    std::string_view rest = shown;
    while (true) {
        const std::size_t end = rest.find('\n');
        std::string_view paragraph = rest.substr(0, end);
        if (paragraph.ends_with('\r')) paragraph.remove_suffix(1);
        if (wrap_px <= 0) {
            lines.emplace_back(paragraph);
        } else {
            std::string line;
            bool line_has_word = false;
            std::size_t at = 0;
            while (at < paragraph.size()) {
                const std::size_t word_start =
                    std::min(paragraph.find_first_not_of(' ', at), paragraph.size());
                const std::string_view blanks = paragraph.substr(at, word_start - at);
                if (word_start == paragraph.size()) {
                    if (line_has_word)
                        add_blanks_that_fit(line, blanks.size());
                    else
                        line += blanks;  // a paragraph of blanks only
                    break;
                }
                const std::size_t word_end =
                    std::min(paragraph.find(' ', word_start), paragraph.size());
                const std::string_view word = paragraph.substr(word_start, word_end - word_start);
                // A word joins the line only if the blanks after it fit too.
                const std::size_t next_word =
                    std::min(paragraph.find_first_not_of(' ', word_end), paragraph.size());
                std::string candidate = line;
                candidate += blanks;
                candidate += word;
                if (!line_has_word ||
                    width_of(candidate + std::string(next_word - word_end, ' ')) <= wrap_px) {
                    line = std::move(candidate);
                } else {
                    add_blanks_that_fit(line, blanks.size());
                    lines.push_back(std::move(line));
                    line = std::string(word);
                }
                line_has_word = true;
                at = word_end;
            }
            lines.push_back(std::move(line));
        }
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    return lines;
}

LineMetrics windows_line_metrics(int win_ascent, int win_descent, int units_per_em,
                                 double pixel_size) {
    if (units_per_em <= 0 || win_ascent < 0 || win_descent < 0 || win_ascent + win_descent == 0 ||
        !(pixel_size > 0))
        return {};
    const double scale = std::min(pixel_size, kMaxPixels) / units_per_em;
    return {rounded_pixels(win_ascent * scale), rounded_pixels(win_descent * scale)};
}

std::string_view family_to_match(std::string_view family) {
    return same_name(family, "MS Sans Serif") ? "Arial" : family;
}

bool has_arial_metrics(std::string_view face_family) {
    return std::ranges::any_of(std::array{"Arial", "Liberation Sans", "Arimo"},
                               [&](const char* name) { return same_name(face_family, name); });
}

std::string arial_metrics_warning(std::string_view face_family) {
    if (has_arial_metrics(face_family)) return {};
    return "Arial is shown in \"" + std::string(face_family) +
           "\", whose letters differ in size: text may not fit (install fonts-liberation)";
}

int twips_to_pixels(double twips, double twips_per_pixel) {
    if (!(twips_per_pixel > 0)) return 0;
    return rounded_pixels(twips / twips_per_pixel);
}

}  // namespace tk
