// Failures of the driver itself (a Win32 call that did not work), as exceptions that
// GoogleTest reports as a failed test with the call and its error code.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace vqtest {

class DriverError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Throws DriverError naming `what` and a status code returned by the call itself
// (the registry functions report their error that way).
[[noreturn]] inline void throw_status(const std::string& what, long status) {
    throw DriverError(what + " failed with Win32 error " + std::to_string(status));
}

// Throws DriverError naming `what` and GetLastError().
[[noreturn]] inline void throw_last_error(const std::string& what) {
    throw_status(what, static_cast<long>(GetLastError()));
}

}  // namespace vqtest
