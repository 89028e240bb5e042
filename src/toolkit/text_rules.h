// Rules every backend applies alike when it sizes, lays out and draws text, so that a caption
// measures the same on each: the Win32 controls' rules, which cannot change, are the model.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

// A font's height in pixels: its size in points at the DPI, rounded, and never more than its
// 96-dpi height scaled by DPI / 96, so a text laid out to fit at 96 dpi fits at every scale
// (11.25 points is 15 pixels at 96 dpi and so 22, not 23, at 144). At least one pixel.
int font_pixel_height(double points, int dpi);

// The caption as shown: "&x" shows x (its access key), "&&" shows "&", and a lone "&" at the
// end is shown as it is.
std::string shown_text(std::string_view caption);

// The lines a shown text breaks into: at each line feed ("\r\n" counts as one), then, when
// wrap_px is above 0, greedily between words: as many words as width_of says fit. A word
// wider than the line stands alone on it; the blanks at a break belong to no line, and blanks
// after a paragraph's last word do not widen it. Always at least one line, perhaps empty.
using TextWidth = std::function<int(std::string_view)>;
std::vector<std::string> break_lines(std::string_view shown, int wrap_px,
                                     const TextWidth& width_of);

// Where lines stand: a line is ascent + descent high, and the next line starts right below.
struct LineMetrics {
    int ascent = 0;
    int descent = 0;
    int height() const { return ascent + descent; }
};

// A line's ascent and descent as Win32 measures a TrueType font: from its OS/2 table's
// usWinAscent and usWinDescent in font units, scaled to the pixel size and rounded each.
// Nothing (all zero) when the font has no such metrics.
LineMetrics windows_line_metrics(int win_ascent, int win_descent, int units_per_em,
                                 double pixel_size);

// Twips to whole pixels, to the nearest one.
int twips_to_pixels(double twips, double twips_per_pixel);

}  // namespace tk
