#include "config/frm_about.h"

#include <string>

#include "config/dialog_style.h"
#include "startup/program.h"
#include "toolkit/toolkit.h"

namespace vq {
namespace {

tk::FormDesign about_design() {
    tk::FormDesign design = dialog_design("frmAbout", "About", 5730, 3555);
    design.start_position = tk::StartPosition::CenterScreen;
    design.show_in_taskbar = false;
    return design;
}

tk::LabelDesign text_label(std::string name, tk::Rect rect, tk::Font font = kDialogFont) {
    tk::LabelDesign design = dialog_label(std::move(name), rect, "");
    design.font = std::move(font);
    return design;
}

// A line drawn as a filled strip: from (left, top) to (right, top), `thickness` twips high.
tk::LabelDesign line(std::string name, double left, double right, double top, double thickness,
                     tk::Color color) {
    tk::LabelDesign design = dialog_label(std::move(name), {left, top, right - left, thickness}, "");
    design.word_wrap = false;
    design.back_color = color;
    return design;
}

}  // namespace

frmAbout::frmAbout(Program& program)
    : tk::Form(program.toolkit(), about_design()),
      picIcon(*this, {.name = "picIcon",
                      .rect = {240, 240, 540, 540},
                      .auto_size = true,
                      .back_color = tk::kLightGrey}),
      lblTitle(*this, text_label("lblTitle", {1080, 240, 3885, 480},
                                 {.name = "Arial", .size = 11.25, .bold = true, .italic = true})),
      lblVersion(*this, text_label("lblVersion", {1080, 600, 3885, 225})),
      lblSlogan(*this, text_label("lblSlogan", {1080, 960, 3885, 465},
                                  {.name = "MS Sans Serif", .size = 8.25, .bold = true})),
      lblAuthor(*this, text_label("lblAuthor", {1080, 1560, 3885, 330})),
      lblCopyright(*this, text_label("lblCopyright", {1080, 1800, 3885, 330})),
      Line1_1(*this, line("Line1(1)", 90, 5654, 2325, 15, tk::kDarkGrey)),
      Line1_0(*this, line("Line1(0)", 105, 5654, 2340, 30, tk::kWhite)),
      lblDisclaimer(*this, text_label("lblDisclaimer", {255, 2520, 3870, 945})),
      cmdOK(*this, {.name = "cmdOK",
                    .rect = {4320, 2760, 1260, 345},
                    .caption = "OK",
                    .is_default = true,
                    .is_cancel = true}) {
    cmdOK.on_click = [this] { cmdOK_Click(); };
    set_tab_order({&cmdOK, &picIcon, &lblTitle, &lblVersion, &lblSlogan, &lblAuthor,
                   &lblCopyright, &lblDisclaimer});
}

void frmAbout::Form_Load() {
    tk::Resources& resources = toolkit().resources();
    const tk::VersionInfo version = resources.version();
    set_caption("About " + version.product_name);
    lblVersion.set_caption("Version " + std::to_string(version.major) + "." +
                           std::to_string(version.minor) + "." +
                           std::to_string(version.revision));
    lblTitle.set_caption(version.product_name);
    lblSlogan.set_caption(version.file_description);
    lblAuthor.set_caption("Written by: " + version.company_name);
    lblCopyright.set_caption(version.legal_copyright);
    lblDisclaimer.set_caption(version.comments);
    picIcon.set_picture(resources.load_icon());
}

void frmAbout::cmdOK_Click() { unload(); }

}  // namespace vq
