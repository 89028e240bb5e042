#include "driver/win32_error.h"

#include <windows.h>

namespace vqtest {

void throw_status(const std::string& what, long status) {
    throw DriverError(what + " failed with Win32 error " + std::to_string(status));
}

void throw_last_error(const std::string& what) {
    throw_status(what, GetLastError());
}

}  // namespace vqtest
