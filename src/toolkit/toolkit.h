// The toolkit a backend provides: peers for forms and timers, text measuring, the platform
// services, and the program's lifetime (it runs while any form is loaded).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/peers.h"
#include "toolkit/services.h"
#include "toolkit/types.h"

namespace tk {

class Form;
class Timer;

class Toolkit {
public:
    virtual ~Toolkit() = default;

    virtual std::unique_ptr<FormPeer> create_form_peer(Form& form) = 0;
    virtual std::unique_ptr<TimerPeer> create_timer_peer(Timer& timer) = 0;
    // The extent of a caption in twips: one line when wrap_width is 0, else broken at word
    // boundaries (and at line feeds) to fit wrap_width. "&" marks an access key, "&&" is "&".
    virtual Size measure_text(const Font& font, std::string_view text, double wrap_width) = 0;
    // The same at another DPI than the screen's, for a form that moved to a monitor of another
    // scale; a backend whose forms never change DPI needs nothing more than measure_text.
    virtual Size measure_text_at(const Font& font, std::string_view text, double wrap_width,
                                 int /*dpi*/) {
        return measure_text(font, text, wrap_width);
    }

    virtual SettingsStore& settings() = 0;
    virtual Resources& resources() = 0;
    virtual Random& random() = 0;
    virtual Screen screen() = 0;
    // Every monitor, the primary among them.
    virtual std::vector<Monitor> monitors() = 0;
    // The argument text after the program's path, as one string.
    virtual std::string command_line() = 0;
    // True when another copy of this program is running.
    virtual bool another_instance_running() = 0;
    // One request to show (true) or hide (false) the pointer; the platform counts them.
    virtual void show_cursor(bool show) = 0;
    // A screen-saver host asks for a preview in its window `handle`: the next form loaded
    // shows as a miniature of the monitor holding that window, filling it, and goes with it.
    // False when the handle names no window the platform can show a form in.
    virtual bool show_in_window(std::uint64_t /*handle*/) { return false; }

    // Delivers input and timer ticks until no form is loaded; the program's exit status.
    virtual int run() = 0;
    // Tells the user something went wrong, in a message box with an OK button, and returns when
    // it is closed. A backend without dialogs writes it to standard error.
    virtual void message_box(std::string_view title, std::string_view text);

    // Lifetime bookkeeping, called by Form.
    void form_loaded(Form& form);
    void form_unloaded(Form& form);
    int loaded_form_count() const { return loaded_forms_; }

protected:
    // No form is loaded any more: the program ends.
    virtual void last_form_unloaded() = 0;

private:
    int loaded_forms_ = 0;
};

}  // namespace tk
