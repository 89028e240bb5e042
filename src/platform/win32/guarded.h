// Program code runs inside Win32 callbacks; no exception may unwind through Windows. A fault
// that escapes an event handler ends the program with exit code 1 instead.
#pragma once

#include <windows.h>

namespace win32 {

template <typename Handler>
void run_guarded(Handler&& handler) noexcept {
    try {
        handler();
    } catch (...) {
        PostQuitMessage(1);
    }
}

}  // namespace win32
