// Timer-tick timestamps for the benchmark, written alike by the saver on X11 and the
// benchmark's Xlib probe. When the environment variable VQ_TICK_LOG names a file, every tick
// appends one line to it: the CLOCK_MONOTONIC_RAW time in microseconds, the clock the
// benchmark reads. Without the variable nothing is opened and a tick costs one branch.
#pragma once

class TickLog {
  public:
    TickLog();
    ~TickLog();
    TickLog(const TickLog&) = delete;
    TickLog& operator=(const TickLog&) = delete;

    void tick();

  private:
    int file_ = -1;
};
