// Captions laid out with Xft by the toolkit's text rules, as the Win32 backend's DrawText
// lays them out: access keys, line feeds, word wrap and line spacing.
#pragma once

#include "platform/x11/xlib.h"

// The toolkit's headers come before Xlib's, whose macros (None, Bool, Status) would
// otherwise rename their enumerators.

#include <string>
#include <string_view>
#include <vector>


namespace x11 {

struct TextLine {
    std::string text;
    int width = 0;  // pixels
};

struct TextLayout {
    std::vector<TextLine> lines;  // at least one, perhaps empty
    int width = 0;                // the widest line
    int line_height = 0;          // ascent + descent, as Win32's tmHeight
    int ascent = 0;
    int height() const { return line_height * static_cast<int>(lines.size()); }
};

// wrap_px 0: lines break only at line feeds.
TextLayout lay_out_text(Display* display, XftFont* font, std::string_view caption, int wrap_px);

}  // namespace x11
