#include "startup/mod_vq_saver.h"

#include "config/frm_config.h"
#include "startup/command_switch.h"
#include "startup/program.h"

namespace modVQSaver {

void Main(vq::Program& program) {
    tk::Toolkit& toolkit = program.toolkit();
    const std::string strSwitch = vq::ReduceSwitch(toolkit.command_line());
    // A preview in the host's window is no instance: it runs beside a saver or a chooser, and
    // they beside it. lngRunMode stays 0, so input never ends it; its host's window does.
    if (strSwitch == "/p") {
        const auto handle = vq::PreviewWindowHandle(toolkit.command_line());
        if (handle && toolkit.show_in_window(*handle)) program.load_main_screen_saver();
        return;
    }
    // A second instance ends at once: it loads no window, so the program ends on return.
    if (toolkit.another_instance_running()) return;

    if (strSwitch == "/s") {
        program.lngRunMode = 1;
        program.load_main_screen_saver();
    } else if (strSwitch == "/c" || strSwitch.empty()) {
        // A window handle after "/c" is ignored: the chooser has no owner.
        program.load_config().show();
    }
    // Any other switch opens nothing and the program ends.
}

}  // namespace modVQSaver
