// Captions laid out with Pango as the Win32 backend's DrawText lays them out: "&" marks an
// access key and is not shown ("&&" shows one), a line feed breaks the line, and a width to
// wrap in breaks lines between words; a word wider than the line stands alone on it. Lines
// stand as far apart as on Windows: each line's height is the font's Windows ascent plus
// descent, scaled to the pixel size and rounded each.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/gtk/gtk_owners.h"
#include "toolkit/text_rules.h"
#include "toolkit/types.h"

namespace gtkb {

using tk::TextLayout;
using tk::TextLine;

// A font of the program at a DPI, resolved through fontconfig (Arial to its metric twin).
class TextFont {
  public:
    TextFont(PangoContext* context, const tk::Font& font, int dpi);
    // wrap_px 0: lines break only at line feeds.
    TextLayout lay_out(std::string_view caption, int wrap_px) const;
    // The family of the face Pango chose; empty when none was loaded.
    const std::string& face_family() const { return face_family_; }
    // Draws one line with its baseline at (x, y).
    void draw_line(cairo_t* cairo, const std::string& text, double x, double y) const;

  private:
    int width_of(std::string_view text) const;

    PangoContext* context_;
    FontDescription description_;
    std::string face_family_;
    int ascent_ = 0;
    int descent_ = 0;
};

}  // namespace gtkb
