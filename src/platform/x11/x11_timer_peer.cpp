#include "platform/x11/x11_timer_peer.h"

#include "platform/x11/x11_toolkit.h"

namespace x11 {

TimerPeer::TimerPeer(X11Toolkit& toolkit, tk::Timer& timer) : toolkit_(toolkit), timer_(timer) {
    toolkit_.timer_created(*this);
}

TimerPeer::~TimerPeer() {
    toolkit_.timer_destroyed(*this);
}

void TimerPeer::sync() {
    if (timer_.running())
        due_ = Clock::now() + std::chrono::milliseconds(timer_.interval());
    else
        due_.reset();
}

void TimerPeer::fire() {
    const Clock::time_point was_due = *due_;
    timer_.raise_tick();
    toolkit_.tick_delivered();
    // The handler may have changed the timer, which starts it anew; else the next tick keeps
    // the timer's phase, and ticks missed while the program was busy are dropped.
    if (!due_ || *due_ != was_due || !timer_.running()) return;
    const auto interval = std::chrono::milliseconds(timer_.interval());
    Clock::time_point next = was_due + interval;
    const Clock::time_point now = Clock::now();
    if (next <= now) next += ((now - next) / interval + 1) * interval;
    due_ = next;
}

}  // namespace x11
