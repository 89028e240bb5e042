#include "saver/frm_main_screen_saver.h"

#include "settings/settings.h"
#include "startup/program.h"
#include "toolkit/toolkit.h"

namespace vq {
namespace {

const tk::Font kCaptionFont{.name = "Arial", .size = 14.25, .bold = false, .italic = true};

tk::LabelDesign caption_label(std::string name, std::string caption, tk::Font font,
                              tk::Alignment alignment, bool word_wrap) {
    return {.name = std::move(name),
            .rect = {0, 0, 1215, 495},
            .caption = std::move(caption),
            .font = std::move(font),
            .alignment = alignment,
            .auto_size = true,
            .word_wrap = word_wrap,
            .fore_color = tk::kWhite,
            .back_color = tk::kBlack,
            .visible = false};
}

}  // namespace

frmMainScreenSaver::frmMainScreenSaver(Program& program)
    : tk::Form(program.toolkit(), {.name = "frmMainScreenSaver",
                                   .caption = "VQ ScreenSaver (Still & Quote)",
                                   .client_width = 5880,
                                   .client_height = 2490,
                                   .border = tk::BorderStyle::None,
                                   .start_position = tk::StartPosition::CenterScreen,
                                   .show_in_taskbar = false}),
      picImage(*this, {.name = "picImage", .rect = {0, 0, 1215, 1215}, .visible = false}),
      tmrAni(*this, {.name = "tmrAni", .interval = 25}),
      tmrImgChange(*this, {.name = "tmrImgChange", .interval = 5000}),
      tmrRandom1(*this, {.name = "tmrRandom1", .interval = 5000}),
      imgImage(*this, {.name = "imgImage", .rect = {0, 0, 1215, 1215}, .visible = false}),
      imgRandom1(*this, {.name = "imgRandom1", .rect = {0, 0, 1215, 1215}, .visible = false}),
      lblTitle(*this, caption_label("lblTitle", "Film Title",
                                    {.name = "Arial", .size = 24, .bold = true},
                                    tk::Alignment::Left, false)),
      lblQuote(*this, caption_label("lblQuote", "Quote",
                                    {.name = "Arial", .size = 18, .bold = true, .italic = true},
                                    tk::Alignment::Center, true)),
      lblStudio(*this, caption_label("lblStudio", "Studio", kCaptionFont, tk::Alignment::Right,
                                     false)),
      lblYear(*this,
              caption_label("lblYear", "Year", kCaptionFont, tk::Alignment::Right, false)),
      program_(program) {
    tmrAni.on_timer = [this] { tmrAni_Timer(); };
    tmrImgChange.on_timer = [this] { tmrImgChange_Timer(); };
    tmrRandom1.on_timer = [this] { tmrRandom1_Timer(); };
}

void frmMainScreenSaver::Form_Load() {
    const tk::Screen screen = toolkit().screen();
    set_back_color(tk::kBlack);
    set_width(screen.width_twips());
    set_height(screen.height_twips());
    set_key_preview(true);

    // Any other value selects no mode.
    switch (ReadAnyInt16(toolkit().settings(), keys::Type)) {
        case 0:
            DrifterSetUp();
            break;
        case 1:
            StillQuoteSetUp();
            break;
        case 2:
            FlasherSetUp();
            break;
        default:
            break;  // no mode: a plain black window until it is closed
    }

    // A preview in the host's window is one window among others: never top-most, the pointer
    // left alone, no monitor covered.
    if (miniature()) {
        show();
        return;
    }
    place_topmost_over_screen();
    toolkit().show_cursor(false);
    show();
    CoverOtherMonitors();
}

void frmMainScreenSaver::CloseOnInput() {
    if (program_.lngRunMode == 1) unload();
}

void frmMainScreenSaver::Form_KeyDown(tk::Int16, tk::Int16) { CloseOnInput(); }
void frmMainScreenSaver::Form_KeyPress(tk::Int16) { CloseOnInput(); }
void frmMainScreenSaver::Form_MouseDown(tk::Int16, tk::Int16, float, float) { CloseOnInput(); }
void frmMainScreenSaver::Form_Click() { CloseOnInput(); }
void frmMainScreenSaver::Form_DblClick() { CloseOnInput(); }

void frmMainScreenSaver::Form_MouseMove(tk::Int16, tk::Int16, float X, float Y) {
    if (program_.lngRunMode == 1 && LastMouse.closes_on_move(X, Y)) unload();
}

void frmMainScreenSaver::Form_Unload(tk::Int16&) {
    if (!miniature()) toolkit().show_cursor(true);
    for (const auto& cover : covers_) cover->unload();
}

void frmMainScreenSaver::CoverOtherMonitors() {
    for (const tk::Monitor& monitor : toolkit().monitors()) {
        if (monitor.primary) continue;
        auto& cover = covers_.emplace_back(
            std::make_unique<MonitorCover>(toolkit(), [this] { CloseOnInput(); }));
        cover->load();
        cover->set_scale_mode(scale_mode());
        cover->place_topmost_over(monitor);
    }
}

}  // namespace vq
