#include "platform/x11/x11_text.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>

namespace x11 {
namespace {

int text_width(Display* display, XftFont* font, std::string_view text) {
    if (text.empty()) return 0;
    XGlyphInfo extents{};
    XftTextExtentsUtf8(display, font, reinterpret_cast<const FcChar8*>(text.data()),
                       static_cast<int>(text.size()), &extents);
    return extents.xOff;
}

// The caption as shown: access-key marks taken out.
std::string shown_text(std::string_view caption) {
    std::string shown;
    shown.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        // "&x" shows x (underlined on Windows), "&&" shows "&", a last "&" shows nothing.
        if (caption[i] == '&' && ++i == caption.size()) break;
        shown += caption[i];
    }
    return shown;
}

// A line's ascent and descent as Win32 measures them, so that lines stand as far apart as
// there: from the font's OS/2 Windows metrics, each scaled and rounded on its own; Xft's
// own (hhea, rounded outwards) where the font has none.
void line_metrics(XftFont* font, int& ascent, int& descent) {
    ascent = font->ascent;
    descent = font->descent;
    FT_Face face = XftLockFace(font);
    if (face == nullptr) return;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && face->size != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
        const FT_Fixed scale = face->size->metrics.y_scale;
        ascent = static_cast<int>((FT_MulFix(os2->usWinAscent, scale) + 32) >> 6);
        descent = static_cast<int>((FT_MulFix(os2->usWinDescent, scale) + 32) >> 6);
    }
    XftUnlockFace(font);
}

}  // namespace

TextLayout lay_out_text(Display* display, XftFont* font, std::string_view caption, int wrap_px) {
    TextLayout layout;
    int descent = 0;
    line_metrics(font, layout.ascent, descent);
    layout.line_height = layout.ascent + descent;
    const std::string text = shown_text(caption);
    auto add = [&](std::string line) {
        const int width = text_width(display, font, line);
        layout.width = std::max(layout.width, width);
        layout.lines.push_back({std::move(line), width});
    };

    std::string_view rest = text;
    while (true) {
        const std::size_t end = rest.find('\n');
        std::string_view paragraph = rest.substr(0, end);
        if (paragraph.ends_with('\r')) paragraph.remove_suffix(1);
        if (wrap_px <= 0) {
            add(std::string(paragraph));
        } else {
            // Greedy: as many words as fit; the blanks at a break belong to no line.
            std::string line;
            bool line_has_word = false;
            std::size_t at = 0;
            while (at < paragraph.size()) {
                const std::size_t word_start = paragraph.find_first_not_of(' ', at);
                const std::string_view blanks = paragraph.substr(
                    at,
                    (word_start == std::string_view::npos ? paragraph.size() : word_start) - at);
                if (word_start == std::string_view::npos) {
                    line += blanks;  // trailing blanks of the paragraph
                    break;
                }
                const std::size_t word_end =
                    std::min(paragraph.find(' ', word_start), paragraph.size());
                const std::string_view word = paragraph.substr(word_start, word_end - word_start);
                std::string candidate = line;
                candidate += blanks;
                candidate += word;
                if (!line_has_word || text_width(display, font, candidate) <= wrap_px) {
                    line = std::move(candidate);
                } else {
                    add(std::move(line));
                    line = std::string(word);
                }
                line_has_word = true;
                at = word_end;
            }
            // Blanks after the last word do not widen the line.
            while (!line.empty() && line.back() == ' ' && line_has_word) line.pop_back();
            add(std::move(line));
        }
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    return layout;
}

}  // namespace x11
