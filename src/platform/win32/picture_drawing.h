// Drawing a picture onto a device context: at its natural size, or stretched smoothly.
#pragma once

#include <windows.h>

#include "toolkit/picture.h"

namespace win32 {

// At its natural size with its top-left corner at where's; clipped to where.
void draw_picture(HDC target, const tk::Picture& picture, const RECT& where);
// Scaled to fill where.
void stretch_picture(HDC target, const tk::Picture& picture, const RECT& where);

}  // namespace win32
