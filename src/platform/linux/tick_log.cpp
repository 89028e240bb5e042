#include "platform/linux/tick_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>

TickLog::TickLog() {
    const char* path = std::getenv("VQ_TICK_LOG");
    // Written line by line and never buffered: the benchmark ends the process abruptly.
    if (path != nullptr && *path != '\0')
        file_ = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
}

TickLog::~TickLog() {
    if (file_ >= 0) static_cast<void>(close(file_));
}

void TickLog::tick() {
    if (file_ < 0) return;
    timespec now{};
    if (clock_gettime(CLOCK_MONOTONIC_RAW, &now) != 0) return;
    std::array<char, 32> line{};
    const int size =
        std::snprintf(line.data(), line.size(), "%lld\n",
                      static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000);
    // A failed write loses one timestamp; the benchmark sees the gap, the ticker goes on.
    if (size > 0) static_cast<void>(write(file_, line.data(), static_cast<size_t>(size)));
}
