#include "config/frm_still_quote_config.h"

#include "settings/settings.h"
#include "startup/program.h"
#include "toolkit/toolkit.h"

namespace vq {
namespace {

tk::CheckBoxDesign caption_box(std::string name, tk::Rect rect, std::string caption,
                               tk::Frame& frame) {
    return {.name = std::move(name),
            .rect = rect,
            .caption = std::move(caption),
            .value = 1,
            .container = &frame};
}

}  // namespace

frmStillQuoteConfig::frmStillQuoteConfig(Program& program)
    : OptionsDialog(program,
                    dialog_design("frmStillQuoteConfig", "VQ ScreenSaver (Still & Quote)", 4605,
                                  3480),
                    {.ok_left = 3360, .ok_top = 960, .default_left = 3360, .default_top = 1440,
                     .cancel_left = 3360, .cancel_top = 1920}),
      Label3(*this, dialog_label("Label3", {240, 120, 4215, 735},
                                 "Select the information you want displayed on the screen, and "
                                 "the length of time you want each image displayed for. Then "
                                 "choose OK (to register your choices) or Cancel.")),
      Frame1(*this, {.name = "Frame1", .rect = {120, 840, 3135, 1455}, .caption = "Display: "}),
      chkMovieTitle(*this, caption_box("chkMovieTitle", {360, 360, 1215, 495}, "Movie Title",
                                       Frame1)),
      chkStudio(*this, caption_box("chkStudio", {360, 840, 1215, 495}, "Studio", Frame1)),
      chkYear(*this, caption_box("chkYear", {1680, 360, 975, 495}, "Year", Frame1)),
      chkQuote(*this, caption_box("chkQuote", {1680, 840, 975, 495}, "Quote", Frame1)),
      Frame2(*this, {.name = "Frame2", .rect = {120, 2400, 4335, 975}, .caption = "Duration: "}),
      Label1(*this,
             dialog_label("Label1", {120, 480, 495, 375}, "Short", &Frame2, tk::Alignment::Right)),
      hsbFlashSpeed(*this, {.name = "hsbFlashSpeed",
                            .rect = {720, 440, 2895, 255},
                            .min = keys::SQSpeed.min,
                            .max = keys::SQSpeed.max,
                            .small_change = 1,
                            .large_change = 500,
                            .container = &Frame2}),
      Label2(*this, dialog_label("Label2", {3720, 480, 495, 375}, "Long", &Frame2)) {
    cmdDefault.on_click = [this] { cmdDefault_Click(); };
    cmdOK.on_click = [this] { cmdOK_Click(); };
    set_tab_order({&cmdDefault, &cmdCancel, &cmdOK, &chkQuote, &chkYear, &chkStudio,
                   &chkMovieTitle, &hsbFlashSpeed});
}

void frmStillQuoteConfig::Form_Load() {
    tk::SettingsStore& store = toolkit().settings();
    chkMovieTitle.set_value(ReadInt16(store, keys::SQTitle));
    chkQuote.set_value(ReadInt16(store, keys::SQQuote));
    chkYear.set_value(ReadInt16(store, keys::SQYear));
    chkStudio.set_value(ReadInt16(store, keys::SQStudio));
    hsbFlashSpeed.set_value(ReadInt16(store, keys::SQSpeed));
}

void frmStillQuoteConfig::cmdDefault_Click() {
    hsbFlashSpeed.set_value(keys::SQSpeed.default_value);
    chkStudio.set_value(1);
    chkYear.set_value(1);
    chkMovieTitle.set_value(1);
    chkQuote.set_value(1);
}

void frmStillQuoteConfig::cmdOK_Click() {
    tk::SettingsStore& store = toolkit().settings();
    WriteSetting(store, keys::SQSpeed, hsbFlashSpeed.value());
    WriteSetting(store, keys::SQTitle, chkMovieTitle.value());
    WriteSetting(store, keys::SQQuote, chkQuote.value());
    WriteSetting(store, keys::SQStudio, chkStudio.value());
    WriteSetting(store, keys::SQYear, chkYear.value());
    UnloadWithChooser();
}

}  // namespace vq
