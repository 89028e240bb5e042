// A form's timer on GLib's main loop: a source whose ready time is the next due time on the
// loop's monotonic clock. Each tick is due one interval after the last was due, not after it
// ran, so the ticks keep their rate however late the loop dispatches one.
#pragma once

#include <glib.h>

#include <cstdint>
#include <optional>

#include "toolkit/peers.h"
#include "toolkit/timer.h"

namespace gtkb {

class GtkToolkit;

class TimerPeer : public tk::TimerPeer {
  public:
    TimerPeer(GtkToolkit& toolkit, tk::Timer& timer);
    ~TimerPeer() override;
    TimerPeer(const TimerPeer&) = delete;
    TimerPeer& operator=(const TimerPeer&) = delete;

    // Starting or changing a running timer starts its interval anew, from now.
    void sync() override;

  private:
    static gboolean dispatch(GSource* source, GSourceFunc, gpointer);
    void fire();
    void arm(std::int64_t due_us);

    GtkToolkit& toolkit_;
    tk::Timer& timer_;
    GSource* source_ = nullptr;
    std::optional<std::int64_t> due_us_;
};

// The next due time after a tick that was due at was_due_us, for a timer of interval_us, at
// now_us: one interval on, or, when the loop fell behind by whole intervals, the first due
// time still ahead (missed ticks are dropped, the phase is kept).
std::int64_t next_due_us(std::int64_t was_due_us, std::int64_t interval_us, std::int64_t now_us);

}  // namespace gtkb
