// Still & Quote: after an intro text, the ten film stills in turn, centred, with the title
// top left, the quotation under the picture, the studio bottom left and the year bottom right.
#include "saver/frm_main_screen_saver.h"
#include "settings/settings.h"
#include "toolkit/toolkit.h"

namespace vq {

void frmMainScreenSaver::StillQuoteSetUp() {
    const tk::Screen screen = toolkit().screen();
    lblTitle.set_top(100);
    lblTitle.set_left(100);
    lblQuote.set_caption(kStillQuoteIntro);
    lblQuote.set_width(screen.width_twips() * 3 / 4);
    lblQuote.set_left((screen.width_twips() - lblQuote.width()) / 2);
    lblQuote.set_top((screen.height_twips() - lblQuote.height()) / 2);
    lblQuote.set_visible(true);
    tmrImgChange.set_interval(ReadInterval(toolkit().settings(), keys::SQSpeed));
    tmrImgChange.set_enabled(true);
}

void frmMainScreenSaver::tmrImgChange_Timer() {
    const tk::Screen screen = toolkit().screen();
    const double screen_width = screen.width_twips();
    const double screen_height = screen.height_twips();
    tk::SettingsStore& store = toolkit().settings();
    tk::Resources& resources = toolkit().resources();
    // A missing string shows as an empty caption.
    auto text = [&resources](int id) { return resources.load_string(id).value_or(""); };

    imgImage.set_visible(false);
    lblTitle.set_visible(false);
    lblQuote.set_visible(false);
    lblStudio.set_visible(false);
    lblYear.set_visible(false);

    FilmRecord = static_cast<tk::Int16>(FilmRecord % 10 + 1);
    imgImage.set_picture(resources.load_bitmap(20 + FilmRecord));
    lblTitle.set_caption(text(60 + FilmRecord));
    lblQuote.set_caption(text(80 + FilmRecord));
    lblStudio.set_caption(text(100 + FilmRecord));
    lblYear.set_caption(text(120 + FilmRecord));

    lblQuote.set_width(imgImage.width() * 1.5);
    imgImage.set_left(screen_width / 2 - imgImage.width() / 2);
    if (ReadDouble(store, keys::SQQuote) == 1) {
        imgImage.set_top(screen_height / 2 - imgImage.height() / 2 - lblQuote.height() / 2);
    } else {
        imgImage.set_top(screen_height / 2 - imgImage.height() / 2);
    }
    lblQuote.set_top(imgImage.top() + imgImage.height());
    lblQuote.set_left(screen_width / 2 - lblQuote.width() / 2);
    lblYear.set_top(screen_height - lblYear.height() - 50);
    lblYear.set_left(screen_width - lblYear.width() - 50);
    lblStudio.set_top(screen_height - lblStudio.height() - 50);
    lblStudio.set_left(100);
    imgImage.set_visible(true);

    lblTitle.set_visible(ReadTruth(store, keys::SQTitle));
    lblQuote.set_visible(ReadTruth(store, keys::SQQuote));
    lblYear.set_visible(ReadTruth(store, keys::SQYear));
    lblStudio.set_visible(ReadTruth(store, keys::SQStudio));
}

}  // namespace vq
