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
// wrap_px is above 0, greedily between words, as Win32's DrawText breaks them: a word joins
// the line only if it fits together with the blanks after it; the first word of a line
// stands on it however wide. A line keeps the blanks after its last word as far as they fit
// (Win32 counts them in the text's width, and they shift a centred line); the rest of them
// belong to no line. Always at least one line, perhaps empty.
using TextWidth = std::function<int(std::string_view)>;
std::vector<std::string> break_lines(std::string_view shown, int wrap_px,
                                     const TextWidth& width_of);

// Where lines stand: a line is ascent + descent high, and the next line starts right below.
struct LineMetrics {
    int ascent = 0;
    int descent = 0;
    int height() const { return ascent + descent; }
};

// A caption laid out in pixels, line by line, as a backend measures and draws it.
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

// A line's ascent and descent as Win32 measures a TrueType font: from its OS/2 table's
// usWinAscent and usWinDescent in font units, scaled to the pixel size and rounded each.
// Nothing (all zero) when the font has no such metrics.
LineMetrics windows_line_metrics(int win_ascent, int win_descent, int units_per_em,
                                 double pixel_size);

// The font family to ask a platform's font matcher for. Win32 answers the dialogs' "MS Sans
// Serif" with Arial's metrics, where a matcher without that alias (fontconfig) would pick a
// wider face; every other family is asked for as it is.
std::string_view family_to_match(std::string_view family);

// Whether a face a matcher chose for Arial has Arial's metrics: Arial itself or one of its
// metric-compatible twins (Liberation Sans, Arimo), so that captions fit as they do on Win32.
bool has_arial_metrics(std::string_view face_family);

// What a backend says, once, when the face a matcher chose for Arial is not one with its
// metrics; empty when it is.
std::string arial_metrics_warning(std::string_view face_family);

// Twips to whole pixels, to the nearest one.
int twips_to_pixels(double twips, double twips_per_pixel);

}  // namespace tk
