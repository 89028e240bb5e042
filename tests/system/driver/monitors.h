// The monitors of the desktop, as any program on it sees them.
#pragma once

#include <windows.h>

#include <vector>

namespace vqtest {

struct Monitor {
    RECT rect{};  // in screen coordinates: the primary's top-left corner is 0,0
    bool primary = false;
};

std::vector<Monitor> monitors();

}  // namespace vqtest
