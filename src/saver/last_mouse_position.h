// The saver's rule for mouse movement: the first event only records the pointer; after that
// a move of 5 units or more from the last recorded position closes the saver, unless the
// recorded position is still (0, 0), in which case it records again.
#pragma once

#include "toolkit/types.h"

namespace vq {

struct LastMousePosition {
    // Kept in 32 bits so that no screen overflows them.
    tk::Int32 LastMouseX = 0;
    tk::Int32 LastMouseY = 0;

    // True when the move closes the saver; otherwise the position is recorded.
    bool closes_on_move(float X, float Y);
};

}  // namespace vq
