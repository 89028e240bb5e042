#include "config/options_dialog.h"

#include "config/frm_config.h"
#include "startup/program.h"

namespace vq {
namespace {

tk::CommandButtonDesign options_button(std::string name, std::string caption, double left,
                                       double top, bool is_cancel = false) {
    return {.name = std::move(name),
            .rect = {left, top, 1095, 375},
            .caption = std::move(caption),
            .is_cancel = is_cancel};
}

}  // namespace

OptionsDialog::OptionsDialog(Program& program, tk::FormDesign design, OptionsButtonPlaces p)
    : tk::Form(program.toolkit(), std::move(design)),
      cmdOK(*this, options_button("cmdOK", "&OK", p.ok_left, p.ok_top)),
      cmdDefault(*this, options_button("cmdDefault", "&Default", p.default_left, p.default_top)),
      cmdCancel(*this, options_button("cmdCancel", "&Cancel", p.cancel_left, p.cancel_top, true)),
      program_(program) {
    cmdCancel.on_click = [this] { cmdCancel_Click(); };
}

void OptionsDialog::UnloadWithChooser() {
    unload();
    if (frmConfig* chooser = program_.config()) chooser->unload();
}

void OptionsDialog::cmdCancel_Click() {
    unload();
    if (frmConfig* chooser = program_.config(); chooser != nullptr && chooser->loaded())
        chooser->show();
}

}  // namespace vq
