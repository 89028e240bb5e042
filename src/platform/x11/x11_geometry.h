// Rectangles of a form's client area in pixels.
#pragma once

#include "platform/linux/pixel_rect.h"

namespace x11 {

using vq::hack::intersect;
using vq::hack::PixelRect;
using vq::hack::unite;

}  // namespace x11
