#include "driver/monitors.h"

#include "driver/win32_error.h"

namespace vqtest {
namespace {

BOOL CALLBACK collect(HMONITOR handle, HDC, LPRECT, LPARAM context) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(handle, &info)) return FALSE;
    reinterpret_cast<std::vector<Monitor>*>(context)->push_back(
        {info.rcMonitor, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    return TRUE;
}

}  // namespace

std::vector<Monitor> monitors() {
    std::vector<Monitor> found;
    if (!EnumDisplayMonitors(nullptr, nullptr, collect, reinterpret_cast<LPARAM>(&found)))
        throw_last_error("EnumDisplayMonitors");
    return found;
}

}  // namespace vqtest
