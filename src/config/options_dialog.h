// The frame shared by the options dialogs of the three display modes: OK, Default and
// Cancel, and the way back to the chooser. Each dialog is loaded afresh by the chooser's
// Next; it stores nothing before its OK.
#pragma once

#include "config/dialog_style.h"
#include "toolkit/command_button.h"
#include "toolkit/form.h"

namespace vq {

class Program;

struct OptionsButtonPlaces {
    double ok_left, ok_top;
    double default_left, default_top;
    double cancel_left, cancel_top;
};

class OptionsDialog : public tk::Form {
public:
    tk::CommandButton cmdOK;
    tk::CommandButton cmdDefault;
    tk::CommandButton cmdCancel;

    // Closing through the frame is the dialog's Cancel: the chooser comes back.
    void close_box_pressed() override { cmdCancel_Click(); }

protected:
    OptionsDialog(Program& program, tk::FormDesign design, OptionsButtonPlaces places);

    // The end of OK, after the settings are saved: this dialog and the hidden chooser go,
    // and with them the program.
    void UnloadWithChooser();

    Program& program_;

private:
    // Nothing is written; the chooser reappears as it was hidden.
    void cmdCancel_Click();
};

}  // namespace vq
