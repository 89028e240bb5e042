// The Flasher's options: how long each picture shows.
#pragma once

#include "config/options_dialog.h"
#include "toolkit/label.h"
#include "toolkit/scroll_bar.h"

namespace vq {

class frmFlasherConfig : public OptionsDialog {
public:
    explicit frmFlasherConfig(Program& program);

    tk::Label Label3;
    tk::Label Label2;
    // The Flasher's timer interval, in milliseconds.
    tk::HScrollBar hsbFlashSpeed;
    tk::Label Label1;

protected:
    void Form_Load() override;

private:
    void cmdDefault_Click();
    void cmdOK_Click();
};

}  // namespace vq
