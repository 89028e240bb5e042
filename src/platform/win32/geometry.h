// Twips to pixels of the client area, rounded to the nearest pixel.
#pragma once

#include <windows.h>

#include "toolkit/text_rules.h"
#include "toolkit/types.h"

namespace win32 {

inline int to_pixels(double twips, double twips_per_pixel) {
    return tk::twips_to_pixels(twips, twips_per_pixel);
}

inline RECT to_pixels(const tk::Rect& rect, double twips_per_pixel) {
    const int left = to_pixels(rect.left, twips_per_pixel);
    const int top = to_pixels(rect.top, twips_per_pixel);
    return {left, top, left + to_pixels(rect.width, twips_per_pixel),
            top + to_pixels(rect.height, twips_per_pixel)};
}

inline int width(const RECT& rect) { return rect.right - rect.left; }
inline int height(const RECT& rect) { return rect.bottom - rect.top; }

}  // namespace win32
