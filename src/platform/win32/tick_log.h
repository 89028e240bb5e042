// Timer-tick timestamps for the benchmark, written alike by the saver and the benchmark's probes. When the environment variable VQ_TICK_LOG names a
// file, every tick appends one line to it: the QueryPerformanceCounter time in microseconds.
// Without the variable nothing is opened and a tick costs one branch.
#pragma once

#include <windows.h>

class TickLog {
public:
    TickLog();
    ~TickLog();
    TickLog(const TickLog&) = delete;
    TickLog& operator=(const TickLog&) = delete;

    void tick();

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    LARGE_INTEGER frequency_{};
};
