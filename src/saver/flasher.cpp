// Flasher: a picture chosen at random from all 25 appears at a random place for one
// interval, then the screen stays black for one interval while the next is prepared.
#include <algorithm>
#include <cmath>

#include "saver/frm_main_screen_saver.h"
#include "settings/settings.h"
#include "toolkit/toolkit.h"

namespace vq {

void frmMainScreenSaver::FlasherSetUp() {
    tmrRandom1.set_interval(ReadInterval(toolkit().settings(), keys::FlasherSpeed));
    tmrRandom1.set_enabled(true);
}

void frmMainScreenSaver::tmrRandom1_Timer() {
    if (FlashHidden) {
        imgRandom1.set_visible(true);
        FlashHidden = false;
        return;
    }
    imgRandom1.set_visible(false);
    FlashHidden = true;
    PickRandomPicture();
    PickRandomPosition();
}

void frmMainScreenSaver::PickRandomPicture() {
    tk::Random& random = toolkit().random();
    while (FlashPicture == LastFlashPicture)
        FlashPicture = static_cast<tk::Int16>(std::floor(random.draw() * 25 + 1));
    imgRandom1.set_picture(toolkit().resources().load_bitmap(FlashPicture + 20));
    LastFlashPicture = FlashPicture;
}

void frmMainScreenSaver::PickRandomPosition() {
    // In twips, computed in double and kept in 32 bits: screens wider or taller than
    // 32767 twips (2184 pixels at 96 dpi) are common.
    const tk::Screen screen = toolkit().screen();
    tk::Random& random = toolkit().random();
    auto place = [&random](double room) {
        random.reseed();
        const double offset = std::floor((room + 1) * random.draw());
        return std::max(0.0, offset);  // a picture larger than the screen keeps its top-left on it
    };
    const double left = place(screen.width_twips() - imgRandom1.width());
    const double top = place(screen.height_twips() - imgRandom1.height());
    imgRandom1.set_left(left);
    imgRandom1.set_top(top);
}

}  // namespace vq
