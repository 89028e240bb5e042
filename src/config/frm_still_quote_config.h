// The Still & Quote options: which captions show with each still, and the time per still.
#pragma once

#include "config/options_dialog.h"
#include "toolkit/check_box.h"
#include "toolkit/frame.h"
#include "toolkit/label.h"
#include "toolkit/scroll_bar.h"

namespace vq {

class frmStillQuoteConfig : public OptionsDialog {
public:
    explicit frmStillQuoteConfig(Program& program);

    tk::Label Label3;
    tk::Frame Frame1;
    tk::CheckBox chkMovieTitle;
    tk::CheckBox chkStudio;
    tk::CheckBox chkYear;
    tk::CheckBox chkQuote;
    tk::Frame Frame2;
    tk::Label Label1;
    // The time per still, in milliseconds.
    tk::HScrollBar hsbFlashSpeed;
    tk::Label Label2;

protected:
    void Form_Load() override;

private:
    void cmdDefault_Click();
    void cmdOK_Click();
};

}  // namespace vq
