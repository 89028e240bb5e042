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

}  // namespace gtkb
