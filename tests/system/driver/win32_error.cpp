#include "driver/win32_error.h"

#include <windows.h>

namespace vqtest {

void throw_status(const std::string& what, long status) {
    throw DriverError(what + " failed with Win32 error " + std::to_string(status));
}

DriverError last_error(const std::string& what) {
    return DriverError(what + " failed with Win32 error " + std::to_string(GetLastError()));
}

void throw_last_error(const std::string& what) { throw last_error(what); }

}  // namespace vqtest
