#include "config/frm_config.h"

#include <string_view>

#include "config/dialog_style.h"
#include "config/frm_about.h"
#include "config/frm_drifter_config.h"
#include "config/frm_flasher_config.h"
#include "config/frm_still_quote_config.h"
#include "settings/settings.h"
#include "startup/program.h"

namespace vq {
namespace {

constexpr tk::Int16 kDrifter = 0;
constexpr tk::Int16 kStillQuote = 1;
constexpr tk::Int16 kFlasher = 2;

constexpr std::string_view kDescriptions[] = {
    "See your selected image of Velmarr drift aimlessly around your screen.",
    "Selected stills with quotes from some of Velmarr's most popular movies.",
    "Random images of Velmarr will flash up at assorted locations on your screen.",
};

tk::OptionButtonDesign mode_option(tk::Int16 index, double top, std::string caption,
                                   tk::Frame& frame) {
    // Placed in the frame, which stands at (600, 960) of the dialog.
    return {.name = "optSvrType",
            .index = index,
            .rect = {360, top - 960, 1215, 375},
            .caption = std::move(caption),
            .container = &frame};
}

tk::CommandButtonDesign column_button(std::string name, std::string caption, double top,
                                      bool is_cancel = false) {
    return {.name = std::move(name),
            .rect = {3000, top, 1215, 375},
            .caption = std::move(caption),
            .is_cancel = is_cancel};
}

}  // namespace

frmConfig::frmConfig(Program& program)
    : tk::Form(program.toolkit(), [] {
          tk::FormDesign design =
              dialog_design("frmConfig", "The Vovozevu Velmarr ScreenSaver", 4710, 3630);
          design.key_preview = true;
          return design;
      }()),
      lblInstruct(*this, dialog_label("lblInstruct", {240, 120, 4335, 735},
                                      "Choose the Screen Saver Type which you want. Then choose "
                                      "Next for more options, or OK to accept the default "
                                      "configuration for that Saver type.")),
      grpSaverType(*this, {.name = "grpSaverType",
                           .rect = {600, 960, 1935, 1815},
                           .caption = "ScreenSaver"}),
      optSvrType{{tk::OptionButton(*this, mode_option(kDrifter, 1320, "Drifter", grpSaverType)),
                  tk::OptionButton(*this, mode_option(kStillQuote, 1800, "Still && Quote",
                                                      grpSaverType)),
                  tk::OptionButton(*this, mode_option(kFlasher, 2280, "Flasher", grpSaverType))}},
      cmdOK(*this, column_button("cmdOK", "&OK", 960)),
      cmdNext(*this, column_button("cmdNext", "&Next", 1440)),
      cmdCancel(*this, column_button("cmdCancel", "&Cancel", 1920)),
      // Escape presses About here, not Cancel.
      cmdAbout(*this, column_button("cmdAbout", "&About", 2400, true)),
      lblMessage(*this,
                 dialog_label("lblMessage", {0, 3120, 4695, 495}, "Description of ScreenSaver")),
      program_(program) {
    for (tk::OptionButton& option : optSvrType) {
        option.on_got_focus = [this, index = option.index()] { optSvrType_GotFocus(index); };
    }
    cmdOK.on_click = [this] { cmdOK_Click(); };
    cmdNext.on_click = [this] { cmdNext_Click(); };
    cmdCancel.on_click = [this] { cmdCancel_Click(); };
    cmdAbout.on_click = [this] { cmdAbout_Click(); };
    set_tab_order({&optSvrType[0], &optSvrType[1], &optSvrType[2], &cmdOK, &cmdCancel, &cmdNext,
                   &cmdAbout});
}

void frmConfig::Form_Load() {
    // A stored Type that is no mode reads as the default, Drifter.
    intSvrType = ReadInt16(toolkit().settings(), keys::Type);
    optSvrType[static_cast<std::size_t>(intSvrType)].set_value(true);
}

void frmConfig::optSvrType_GotFocus(tk::Int16 Index) {
    if (Index < kDrifter || Index > kFlasher) return;
    lblMessage.set_caption(std::string(kDescriptions[Index]));
}

void frmConfig::SaveSvrType() {
    for (const tk::OptionButton& option : optSvrType) {
        if (option.value()) {
            WriteSetting(toolkit().settings(), keys::Type, option.index());
            return;
        }
    }
}

void frmConfig::cmdOK_Click() {
    SaveSvrType();
    unload();
}

void frmConfig::cmdNext_Click() {
    SaveSvrType();
    if (optSvrType[kDrifter].value()) {
        program_.load_drifter_config().show();
    } else if (optSvrType[kStillQuote].value()) {
        program_.load_still_quote_config().show();
    } else if (optSvrType[kFlasher].value()) {
        program_.load_flasher_config().show();
    } else {
        return;  // no mode selected: nothing to open, so the chooser stays
    }
    hide();
}

void frmConfig::cmdCancel_Click() {
    WriteSetting(toolkit().settings(), keys::Type, intSvrType);
    unload();
}

void frmConfig::cmdAbout_Click() { program_.load_about().show_modal(*this); }

void frmConfig::Form_KeyPress(tk::Int16 KeyAscii) {
    // The character still goes on to the focused control.
    if (KeyAscii == '?') cmdAbout_Click();
}

}  // namespace vq
