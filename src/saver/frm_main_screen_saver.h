// The full-screen saver window: black, top-most, pointer hidden, closed by the first real
// input. Its three display modes live in drifter.cpp, still_quote.cpp and flasher.cpp.
#pragma once

#include <memory>
#include <vector>

#include "saver/last_mouse_position.h"
#include "saver/monitor_cover.h"
#include "toolkit/form.h"
#include "toolkit/image_control.h"
#include "toolkit/label.h"
#include "toolkit/picture_box.h"
#include "toolkit/timer.h"

namespace vq {

class Program;

class frmMainScreenSaver : public tk::Form {
public:
    explicit frmMainScreenSaver(Program& program);

    // What Still & Quote shows before the first film.
    static constexpr const char* kStillQuoteIntro =
        "Coming Up:\nThe Vovozevu Screen Star...\n\nMr Velmarr!";

    // The covers over the monitors other than the primary, while the saver runs.
    const std::vector<std::unique_ptr<MonitorCover>>& covers() const { return covers_; }

    // Controls, all owned by the display modes.
    tk::PictureBox picImage;
    tk::Timer tmrAni;
    tk::Timer tmrImgChange;
    tk::Timer tmrRandom1;
    tk::ImageControl imgImage;
    tk::ImageControl imgRandom1;
    tk::Label lblTitle;
    tk::Label lblQuote;
    tk::Label lblStudio;
    tk::Label lblYear;

    // Flasher state.
    tk::Int16 FlashPicture = 0;
    tk::Int16 LastFlashPicture = 0;
    // Drifter state.
    tk::Int32 DriftY = 0;
    tk::Int32 DriftX = 0;
    tk::Int32 DriftPicHeight = 0;
    tk::Int32 DriftPicWidth = 0;
    tk::Int16 DriftStepX = 0;
    tk::Int16 DriftStepY = 0;

    // Values the handlers keep between calls, for the window's life.
    LastMousePosition LastMouse;
    tk::Int16 DriftDirection = 0;
    bool FlashHidden = false;
    tk::Int16 FilmRecord = 0;

protected:
    void Form_Load() override;
    void Form_KeyDown(tk::Int16 KeyCode, tk::Int16 Shift) override;
    void Form_KeyPress(tk::Int16 KeyAscii) override;
    void Form_MouseDown(tk::Int16 Button, tk::Int16 Shift, float X, float Y) override;
    void Form_MouseMove(tk::Int16 Button, tk::Int16 Shift, float X, float Y) override;
    void Form_Click() override;
    void Form_DblClick() override;
    void Form_Unload(tk::Int16& Cancel) override;

private:
    // Closes the window on input, on the saver path only.
    void CloseOnInput();

    void DrifterSetUp();
    void tmrAni_Timer();
    void StillQuoteSetUp();
    void tmrImgChange_Timer();
    void FlasherSetUp();
    void tmrRandom1_Timer();
    void PickRandomPicture();
    void PickRandomPosition();

    // Black covers over the other monitors, gone with the saver window.
    void CoverOtherMonitors();

    Program& program_;
    std::vector<std::unique_ptr<MonitorCover>> covers_;
};

}  // namespace vq
