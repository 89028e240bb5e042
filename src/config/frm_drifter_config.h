// The Drifter's options: which picture drifts, its speed and whether it leaves a trail.
#pragma once

#include "config/options_dialog.h"
#include "toolkit/check_box.h"
#include "toolkit/combo_box.h"
#include "toolkit/frame.h"
#include "toolkit/image_control.h"
#include "toolkit/label.h"
#include "toolkit/scroll_bar.h"

namespace vq {

class frmDrifterConfig : public OptionsDialog {
public:
    explicit frmDrifterConfig(Program& program);

    tk::Label Label3;
    tk::Label Label4;
    // List position i holds picture 41 + i.
    tk::ComboBox cboImgSelect;
    tk::Label lblPreview;
    tk::ImageControl imgPreview;
    tk::Frame grpDriftSpeed;
    tk::Label Label1;
    tk::HScrollBar hsbDriftSpeed;
    tk::Label Label2;
    tk::CheckBox chkShowTrail;

protected:
    void Form_Load() override;

private:
    void cboImgSelect_Click();
    void cmdDefault_Click();
    void cmdOK_Click();
};

}  // namespace vq
