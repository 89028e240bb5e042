#include "platform/headless/headless_timer_peer.h"

#include "platform/headless/headless_toolkit.h"

namespace headless {

HeadlessTimerPeer::HeadlessTimerPeer(HeadlessToolkit& toolkit, tk::Timer& timer)
    : toolkit_(toolkit), timer_(timer) {
    toolkit_.timers_.push_back(this);
}

HeadlessTimerPeer::~HeadlessTimerPeer() { std::erase(toolkit_.timers_, this); }

void HeadlessTimerPeer::sync() {
    if (timer_.running()) {
        due_ = toolkit_.now_ + timer_.interval();
    } else {
        due_.reset();
    }
}

}  // namespace headless
