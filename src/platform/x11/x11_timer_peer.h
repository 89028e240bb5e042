// A form's timer on X11: due at a point of the event loop's clock while it runs; the loop
// sleeps until the first due timer, and delivers the ticks due in time order.
#pragma once

#include <chrono>
#include <optional>

#include "toolkit/peers.h"
#include "toolkit/timer.h"

namespace x11 {

class X11Toolkit;

using Clock = std::chrono::steady_clock;

class TimerPeer : public tk::TimerPeer {
  public:
    TimerPeer(X11Toolkit& toolkit, tk::Timer& timer);
    ~TimerPeer() override;
    TimerPeer(const TimerPeer&) = delete;
    TimerPeer& operator=(const TimerPeer&) = delete;

    // Starting or changing a running timer starts its interval anew, from now.
    void sync() override;

    std::optional<Clock::time_point> due() const { return due_; }
    // Delivers one tick and sets the next due time.
    void fire();

  private:
    X11Toolkit& toolkit_;
    tk::Timer& timer_;
    std::optional<Clock::time_point> due_;
};

}  // namespace x11
