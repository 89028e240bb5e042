#include "toolkit/timer.h"

#include "toolkit/form.h"

namespace tk {

Timer::Timer(Form& form, TimerDesign design)
    : form_(form),
      name_(std::move(design.name)),
      interval_(design.interval < 0 ? 0 : design.interval),
      enabled_(design.enabled) {
    form_.register_timer(*this);
}

Timer::~Timer() { form_.unregister_timer(*this); }

void Timer::set_interval(Int32 ms) {
    interval_ = ms < 0 ? 0 : ms;
    changed();
}

void Timer::set_enabled(bool v) {
    enabled_ = v;
    changed();
}

bool Timer::running() const { return enabled_ && interval_ > 0 && form_.loaded(); }

void Timer::attach_peer(std::unique_ptr<TimerPeer> peer) {
    peer_ = std::move(peer);
    changed();
}

void Timer::raise_tick() {
    if (running() && on_timer) on_timer();
}

void Timer::changed() {
    if (peer_ != nullptr) peer_->sync();
}

}  // namespace tk
