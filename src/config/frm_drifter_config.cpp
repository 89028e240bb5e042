#include "config/frm_drifter_config.h"

#include <iterator>

#include "settings/settings.h"
#include "startup/program.h"
#include "toolkit/toolkit.h"

namespace vq {
namespace {

// List position i holds picture DriftImage.min + i.
constexpr tk::Int16 kFirstPicture = keys::DriftImage.min;
constexpr const char* kPictureNames[] = {"Portrait 1", "Dishevelled", "Portrait 2",
                                         "Hat and Big Grin!", "Black Tie"};
static_assert(std::size(kPictureNames) == keys::DriftImage.max - keys::DriftImage.min + 1);

// The Default button's speed, not the 25 a fresh installation runs at.
constexpr tk::Int16 kDefaultButtonSpeed = 50;

}  // namespace

frmDrifterConfig::frmDrifterConfig(Program& program)
    : OptionsDialog(program, dialog_design("frmDrifterConfig", "VQ ScreenSaver (Drifter)", 4815, 4155),
                    {.ok_left = 240, .ok_top = 3600, .default_left = 1800, .default_top = 3600,
                     .cancel_left = 3360, .cancel_top = 3600}),
      Label3(*this, dialog_label("Label3", {120, 120, 4695, 735},
                                 "Select the image you want displayed, the drifting speed, and "
                                 "whether you want a trail displayed. Then choose OK (to "
                                 "register your choices) or Cancel.")),
      Label4(*this, dialog_label("Label4", {120, 840, 1215, 495}, "Image Choice:")),
      cboImgSelect(*this, {.name = "cboImgSelect", .rect = {600, 1080, 3855, 315}}),
      lblPreview(*this, dialog_label("lblPreview", {120, 1560, 1575, 495}, "Image Preview:")),
      imgPreview(*this, {.name = "imgPreview", .rect = {120, 1800, 1335, 1575}, .stretch = true}),
      grpDriftSpeed(*this, {.name = "grpDriftSpeed",
                            .rect = {1560, 1680, 3135, 1695},
                            .caption = "Display: "}),
      Label1(*this, dialog_label("Label1", {0, 480, 495, 255}, "Fast", &grpDriftSpeed,
                                 tk::Alignment::Right)),
      hsbDriftSpeed(*this, {.name = "hsbDriftSpeed",
                            .rect = {600, 480, 1935, 255},
                            .min = keys::DriftSpeed.min,
                            .max = keys::DriftSpeed.max,
                            .small_change = 1,
                            .large_change = 50,
                            .container = &grpDriftSpeed}),
      Label2(*this, dialog_label("Label2", {2640, 480, 495, 255}, "Slow", &grpDriftSpeed)),
      chkShowTrail(*this, {.name = "chkShowTrail",
                           .rect = {360, 1080, 2175, 375},
                           .caption = "Show Trails",
                           .container = &grpDriftSpeed}) {
    cboImgSelect.on_click = [this] { cboImgSelect_Click(); };
    cmdDefault.on_click = [this] { cmdDefault_Click(); };
    cmdOK.on_click = [this] { cmdOK_Click(); };
    set_tab_order({&cmdOK, &cmdCancel, &cmdDefault, &cboImgSelect, &hsbDriftSpeed, &chkShowTrail});
}

void frmDrifterConfig::Form_Load() {
    for (const char* name : kPictureNames) cboImgSelect.add_item(name);
    tk::SettingsStore& store = toolkit().settings();
    // Selecting the stored picture fills the preview before the dialog is first drawn.
    cboImgSelect.set_list_index(ReadInt16(store, keys::DriftImage) - kFirstPicture);
    hsbDriftSpeed.set_value(ReadInt16(store, keys::DriftSpeed));
    chkShowTrail.set_value(ReadInt16(store, keys::DriftTrail));
}

void frmDrifterConfig::cboImgSelect_Click() {
    if (cboImgSelect.list_index() < 0) return;
    imgPreview.set_picture(toolkit().resources().load_bitmap(
        static_cast<tk::Int16>(kFirstPicture + cboImgSelect.list_index())));
}

void frmDrifterConfig::cmdDefault_Click() {
    hsbDriftSpeed.set_value(kDefaultButtonSpeed);
    cboImgSelect.set_list_index(0);
    chkShowTrail.set_value(0);
}

void frmDrifterConfig::cmdOK_Click() {
    tk::SettingsStore& store = toolkit().settings();
    WriteSetting(store, keys::DriftSpeed, hsbDriftSpeed.value());
    WriteSetting(store, keys::DriftImage,
                 static_cast<tk::Int16>(kFirstPicture + cboImgSelect.list_index()));
    WriteSetting(store, keys::DriftTrail, chkShowTrail.value());
    UnloadWithChooser();
}

}  // namespace vq
