#include "platform/win32/tick_log.h"

#include <array>
#include <cstdio>

TickLog::TickLog() {
    std::array<wchar_t, MAX_PATH> path{};
    const DWORD length = GetEnvironmentVariableW(L"VQ_TICK_LOG", path.data(), path.size());
    if (length == 0 || length >= path.size()) return;
    if (!QueryPerformanceFrequency(&frequency_) || frequency_.QuadPart <= 0) return;
    // Written line by line and never buffered: the benchmark ends the process abruptly.
    file_ = CreateFileW(path.data(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

TickLog::~TickLog() {
    if (file_ != INVALID_HANDLE_VALUE) static_cast<void>(CloseHandle(file_));
}

void TickLog::tick() {
    if (file_ == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER now;
    if (!QueryPerformanceCounter(&now)) return;
    // Split so that the microsecond value cannot overflow on a long uptime.
    const long long seconds = now.QuadPart / frequency_.QuadPart;
    const long long rest = now.QuadPart % frequency_.QuadPart;
    const long long micros = seconds * 1000000 + rest * 1000000 / frequency_.QuadPart;
    std::array<char, 32> line{};
    const int size = std::snprintf(line.data(), line.size(), "%lld\n", micros);
    DWORD written = 0;
    // A failed write loses one timestamp; the benchmark sees the gap, the ticker goes on.
    if (size > 0) static_cast<void>(WriteFile(file_, line.data(), size, &written, nullptr));
}
