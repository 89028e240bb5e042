#include "saver/last_mouse_position.h"

#include <cmath>

#include "settings/conversions.h"

namespace vq {

bool LastMousePosition::closes_on_move(float X, float Y) {
    const float dx = std::fabs(static_cast<float>(LastMouseX) - X);
    const float dy = std::fabs(static_cast<float>(LastMouseY) - Y);
    const bool moved = dx >= 5 || dy >= 5;
    if (moved && !(LastMouseX == 0 && LastMouseY == 0)) return true;
    LastMouseX = static_cast<tk::Int32>(RoundHalfEven(X));
    LastMouseY = static_cast<tk::Int32>(RoundHalfEven(Y));
    return false;
}

}  // namespace vq
