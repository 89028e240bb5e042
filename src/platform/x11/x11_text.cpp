#include "platform/x11/x11_text.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>

#include "toolkit/text_rules.h"

namespace x11 {
namespace {

int text_width(Display* display, XftFont* font, std::string_view text) {
    if (text.empty()) return 0;
    XGlyphInfo extents{};
    XftTextExtentsUtf8(display, font, reinterpret_cast<const FcChar8*>(text.data()),
                       static_cast<int>(text.size()), &extents);
    return extents.xOff;
}

// A line's ascent and descent as Win32 measures them, so that lines stand as far apart as
// there: from the font's OS/2 Windows metrics; Xft's own (hhea, rounded outwards) where the
// font has none.
tk::LineMetrics line_metrics(XftFont* font) {
    tk::LineMetrics metrics{font->ascent, font->descent};
    FT_Face face = XftLockFace(font);
    if (face == nullptr) return metrics;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && face->size != nullptr) {
        const tk::LineMetrics windows = tk::windows_line_metrics(
            os2->usWinAscent, os2->usWinDescent, face->units_per_EM, face->size->metrics.y_ppem);
        if (windows.height() > 0) metrics = windows;
    }
    XftUnlockFace(font);
    return metrics;
}

}  // namespace

TextLayout lay_out_text(Display* display, XftFont* font, std::string_view caption, int wrap_px) {
    TextLayout layout;
    const tk::LineMetrics metrics = line_metrics(font);
    layout.ascent = metrics.ascent;
    layout.line_height = metrics.height();
    const auto width_of = [&](std::string_view text) { return text_width(display, font, text); };
    for (std::string& line : tk::break_lines(tk::shown_text(caption), wrap_px, width_of)) {
        const int width = width_of(line);
        layout.width = std::max(layout.width, width);
        layout.lines.push_back({std::move(line), width});
    }
    return layout;
}

}  // namespace x11
