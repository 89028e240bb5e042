#include "platform/gtk/gtk_timer_peer.h"

#include "platform/gtk/gtk_toolkit.h"

namespace gtkb {
namespace {

struct TimerSource {
    GSource base;
    TimerPeer* peer;
};

}  // namespace

std::int64_t next_due_us(std::int64_t was_due_us, std::int64_t interval_us, std::int64_t now_us) {
    std::int64_t next = was_due_us + interval_us;
    if (next <= now_us) next += ((now_us - next) / interval_us + 1) * interval_us;
    return next;
}

TimerPeer::TimerPeer(GtkToolkit& toolkit, tk::Timer& timer) : toolkit_(toolkit), timer_(timer) {
    static GSourceFuncs funcs{nullptr, nullptr, &TimerPeer::dispatch, nullptr, nullptr, nullptr};
    source_ = g_source_new(&funcs, sizeof(TimerSource));
    reinterpret_cast<TimerSource*>(source_)->peer = this;
    g_source_set_ready_time(source_, -1);
    // Drawing (GTK's frame clock) runs after the ticks that change what is drawn.
    g_source_set_priority(source_, G_PRIORITY_DEFAULT);
    g_source_attach(source_, nullptr);
}

TimerPeer::~TimerPeer() {
    g_source_destroy(source_);
    g_source_unref(source_);
}

gboolean TimerPeer::dispatch(GSource* source, GSourceFunc, gpointer) {
    reinterpret_cast<TimerSource*>(source)->peer->fire();
    return G_SOURCE_CONTINUE;
}

void TimerPeer::arm(std::int64_t due_us) {
    due_us_ = due_us;
    g_source_set_ready_time(source_, due_us);
}

void TimerPeer::sync() {
    if (timer_.running()) {
        arm(g_get_monotonic_time() + static_cast<std::int64_t>(timer_.interval()) * 1000);
    } else {
        due_us_.reset();
        g_source_set_ready_time(source_, -1);
    }
}

void TimerPeer::fire() {
    if (!due_us_) {
        g_source_set_ready_time(source_, -1);
        return;
    }
    const std::int64_t was_due = *due_us_;
    // Until the handler says otherwise, the timer waits; a handler that changes it re-arms it.
    g_source_set_ready_time(source_, -1);
    timer_.raise_tick();
    toolkit_.tick_delivered();
    if (!due_us_ || *due_us_ != was_due || !timer_.running()) return;
    arm(next_due_us(was_due, static_cast<std::int64_t>(timer_.interval()) * 1000,
                    g_get_monotonic_time()));
}

}  // namespace gtkb
