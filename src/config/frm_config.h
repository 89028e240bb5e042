// The saver-type chooser: the first window of a configuration run. It stores the chosen
// display mode as Type, opens that mode's options dialog or the About box, and ends the
// program when it is unloaded.
#pragma once

#include <array>

#include "toolkit/command_button.h"
#include "toolkit/form.h"
#include "toolkit/frame.h"
#include "toolkit/label.h"
#include "toolkit/option_button.h"

namespace vq {

class Program;

class frmConfig : public tk::Form {
public:
    explicit frmConfig(Program& program);

    tk::Label lblInstruct;
    tk::Frame grpSaverType;
    // Index = the mode number stored as Type: 0 Drifter, 1 Still & Quote, 2 Flasher.
    std::array<tk::OptionButton, 3> optSvrType;
    tk::CommandButton cmdOK;
    tk::CommandButton cmdNext;
    tk::CommandButton cmdCancel;
    tk::CommandButton cmdAbout;
    tk::Label lblMessage;

    // The mode read from Type at load; Cancel stores it back.
    tk::Int16 intSvrType = 0;

protected:
    void Form_Load() override;
    void Form_KeyPress(tk::Int16 KeyAscii) override;

private:
    void optSvrType_GotFocus(tk::Int16 Index);
    void cmdOK_Click();
    void cmdNext_Click();
    void cmdCancel_Click();
    void cmdAbout_Click();
    void SaveSvrType();

    Program& program_;
};

}  // namespace vq
