// Keys as the program sees them: X keysyms (GDK's key values are the same numbers) turned
// into the Win32 virtual-key codes that Form_KeyDown receives.
#pragma once

#include <cstdint>

#include "toolkit/types.h"

namespace vq::hack {

// keycode: the hardware code, used for keys that have no virtual-key code of their own.
tk::Int16 VirtualKeyOf(std::uint32_t keysym, unsigned keycode);

}  // namespace vq::hack
