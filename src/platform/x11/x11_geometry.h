// Rectangles of a form's client area in pixels.
#pragma once

#include "toolkit/types.h"

namespace x11 {

using tk::intersect;
using tk::PixelRect;
using tk::unite;

}  // namespace x11
