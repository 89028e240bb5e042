// A window timer of a form: ticks every interval milliseconds while enabled and loaded.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "toolkit/peers.h"
#include "toolkit/types.h"

namespace tk {

class Form;

struct TimerDesign {
    std::string name;
    Int32 interval = 0;
    bool enabled = false;
};

class Timer {
public:
    Timer(Form& form, TimerDesign design);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::string& name() const { return name_; }
    Form& form() const { return form_; }
    // An interval of 0 leaves the timer idle; a negative one counts as 0.
    Int32 interval() const { return interval_; }
    void set_interval(Int32 ms);
    bool enabled() const { return enabled_; }
    void set_enabled(bool v);
    // Enabled with a nonzero interval, on a loaded form.
    bool running() const;

    std::function<void()> on_timer;
    // Backend side.
    void attach_peer(std::unique_ptr<TimerPeer> peer);
    void raise_tick();
    // Tell the peer that the interval, the enabled state or the form's loaded state changed.
    void changed();

private:
    Form& form_;
    std::string name_;
    Int32 interval_;
    bool enabled_;
    std::unique_ptr<TimerPeer> peer_;
};

}  // namespace tk
