#include "platform/win32/win32_timer_peer.h"

#include <algorithm>

#include "platform/win32/win32_form_peer.h"
#include "platform/win32/win32_toolkit.h"
#include "toolkit/form.h"

namespace win32 {

TimerPeer::TimerPeer(Win32Toolkit& toolkit, tk::Timer& timer)
    : toolkit_(toolkit),
      timer_(timer),
      form_(static_cast<FormPeer*>(timer.form().peer())),
      id_(form_ != nullptr ? form_->add_timer(*this) : 0) {}

TimerPeer::~TimerPeer() {
    stop();
    if (form_ != nullptr) form_->remove_timer(*this);
}

void TimerPeer::sync() {
    if (!timer_.running() || form_ == nullptr || form_->window() == nullptr) {
        stop();
        return;
    }
    // SetTimer takes any interval from USER_TIMER_MINIMUM to USER_TIMER_MAXIMUM.
    const auto interval = static_cast<UINT>(
        std::clamp<long long>(timer_.interval(), USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM));
    if (SetTimer(form_->window(), id_, interval, nullptr) == 0) {
        stop();
        return;
    }
    if (!running_) toolkit_.timer_started();
    running_ = true;
}

void TimerPeer::stop() {
    if (!running_) return;
    running_ = false;
    // The window may already be gone, and its timers with it.
    if (form_->window() != nullptr) static_cast<void>(KillTimer(form_->window(), id_));
    toolkit_.timer_stopped();
}

}  // namespace win32
