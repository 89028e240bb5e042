// A form's timer in memory: due at a time of the toolkit's clock while it runs; the toolkit
// fires it as its clock is advanced.
#pragma once

#include <optional>

#include "toolkit/peers.h"
#include "toolkit/timer.h"

namespace headless {

class HeadlessToolkit;

class HeadlessTimerPeer : public tk::TimerPeer {
public:
    HeadlessTimerPeer(HeadlessToolkit& toolkit, tk::Timer& timer);
    ~HeadlessTimerPeer() override;
    HeadlessTimerPeer(const HeadlessTimerPeer&) = delete;
    HeadlessTimerPeer& operator=(const HeadlessTimerPeer&) = delete;
    // Starting or changing a running timer starts its interval anew, from now.
    void sync() override;

private:
    friend class HeadlessToolkit;
    HeadlessToolkit& toolkit_;
    tk::Timer& timer_;
    std::optional<long long> due_;
};

}  // namespace headless
