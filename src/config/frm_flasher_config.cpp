#include "config/frm_flasher_config.h"

#include "settings/settings.h"
#include "startup/program.h"
#include "toolkit/toolkit.h"

namespace vq {

frmFlasherConfig::frmFlasherConfig(Program& program)
    : OptionsDialog(program,
                    dialog_design("frmFlasherConfig", "VQ ScreenSaver (Flasher)", 5235, 1875),
                    {.ok_left = 720, .ok_top = 1320, .default_left = 2040, .default_top = 1320,
                     .cancel_left = 3360, .cancel_top = 1320}),
      Label3(*this, dialog_label("Label3", {120, 120, 4935, 735},
                                 "Select the speed at which you wish the images to flash on your "
                                 "screen. Then choose OK (to register your choice of speed) or "
                                 "Cancel.")),
      Label2(*this,
             dialog_label("Label2", {240, 840, 615, 255}, "Fast", nullptr, tk::Alignment::Right)),
      hsbFlashSpeed(*this, {.name = "hsbFlashSpeed",
                            .rect = {960, 825, 3135, 255},
                            .min = keys::FlasherSpeed.min,
                            .max = keys::FlasherSpeed.max,
                            .small_change = 1,
                            .large_change = 250}),
      Label1(*this, dialog_label("Label1", {4200, 840, 735, 255}, "Slow")) {
    cmdDefault.on_click = [this] { cmdDefault_Click(); };
    cmdOK.on_click = [this] { cmdOK_Click(); };
    set_tab_order({&cmdOK, &cmdCancel, &cmdDefault, &hsbFlashSpeed});
}

void frmFlasherConfig::Form_Load() {
    hsbFlashSpeed.set_value(ReadInt16(toolkit().settings(), keys::FlasherSpeed));
}

void frmFlasherConfig::cmdDefault_Click() {
    hsbFlashSpeed.set_value(keys::FlasherSpeed.default_value);
}

void frmFlasherConfig::cmdOK_Click() {
    WriteSetting(toolkit().settings(), keys::FlasherSpeed, hsbFlashSpeed.value());
    UnloadWithChooser();
}

}  // namespace vq
