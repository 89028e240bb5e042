// Knowing that a program has read an input: one that reads every pending event before it
// draws its next frame has read an input sent before the first of two frames drawn after it.
#pragma once

#include "support/polling.h"

namespace vqtest {

// True once `drawn_bounds` (a capture's bounds of what is drawn) has moved twice.
template <class DrawnBounds>
bool moved_twice(DrawnBounds&& drawn_bounds) {
    auto last = drawn_bounds();
    int moves = 0;
    return poll_until([&] {
        const auto now = drawn_bounds();
        if (now && last && (now->left != last->left || now->top != last->top)) ++moves;
        last = now;
        return moves >= 2;
    });
}

}  // namespace vqtest
