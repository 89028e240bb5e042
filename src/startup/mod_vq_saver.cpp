#include "startup/mod_vq_saver.h"

#include "config/frm_config.h"
#include "startup/command_switch.h"
#include "startup/program.h"

namespace modVQSaver {

void Main(vq::Program& program) {
    tk::Toolkit& toolkit = program.toolkit();
    // A second instance ends at once: it loads no window, so the program ends on return.
    if (toolkit.another_instance_running()) return;

    const std::string strSwitch = vq::ReduceSwitch(toolkit.command_line());
    if (strSwitch == "/s") {
        program.lngRunMode = 1;
        program.load_main_screen_saver();
    } else if (strSwitch == "/c" || strSwitch.empty()) {
        // A window handle after "/c" is ignored: the chooser has no owner.
        program.load_config().show();
    }
    // Any other switch, the preview request among them, opens nothing and the program ends.
}

}  // namespace modVQSaver
