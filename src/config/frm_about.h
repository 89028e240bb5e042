// The About box: the product's title, version and credits, all taken from the program's
// version block when it loads. Shown modal over the chooser; it stores nothing.
#pragma once

#include "toolkit/command_button.h"
#include "toolkit/form.h"
#include "toolkit/label.h"
#include "toolkit/picture_box.h"

namespace vq {

class Program;

class frmAbout : public tk::Form {
public:
    explicit frmAbout(Program& program);

    tk::PictureBox picIcon;
    tk::Label lblTitle;
    tk::Label lblVersion;
    tk::Label lblSlogan;
    tk::Label lblAuthor;
    tk::Label lblCopyright;
    // The etched separator: a grey line over a white one.
    tk::Label Line1_1;
    tk::Label Line1_0;
    tk::Label lblDisclaimer;
    tk::CommandButton cmdOK;

protected:
    void Form_Load() override;

private:
    void cmdOK_Click();
};

}  // namespace vq
