// A form's timer as a SetTimer timer of the form's window; ticks arrive as WM_TIMER.
#pragma once

#include <windows.h>

#include "toolkit/peers.h"
#include "toolkit/timer.h"

namespace win32 {

class FormPeer;
class Win32Toolkit;

class TimerPeer : public tk::TimerPeer {
public:
    TimerPeer(Win32Toolkit& toolkit, tk::Timer& timer);
    ~TimerPeer() override;
    TimerPeer(const TimerPeer&) = delete;
    TimerPeer& operator=(const TimerPeer&) = delete;

    // Starting or changing a running timer starts its interval anew.
    void sync() override;
    UINT_PTR id() const { return id_; }
    tk::Timer& timer() const { return timer_; }

private:
    void stop();

    Win32Toolkit& toolkit_;
    tk::Timer& timer_;
    FormPeer* form_;
    UINT_PTR id_;
    bool running_ = false;
};

}  // namespace win32
