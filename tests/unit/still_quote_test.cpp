// Still & Quote: the intro, the layout of each still and its captions, the record order.
#include "program_fixture.h"

namespace {

using Controls = std::initializer_list<const tk::Control*>;

class StillQuote : public ProgramFixture {
  protected:
    vq::frmMainScreenSaver& start() { return run_saver("1"); }
    std::string text(int id) { return toolkit.resources().load_string(id).value_or("?"); }
};

TEST_F(StillQuote, TheIntroIsCentredAloneThenTheFirstRecordIsLaidOutAroundTheCentre) {
    vq::frmMainScreenSaver& form = start();
    EXPECT_EQ(form.lblQuote.caption(), "Coming Up:\nThe Vovozevu Screen Star...\n\nMr Velmarr!");
    EXPECT_DOUBLE_EQ(form.lblQuote.width(), 9000);
    EXPECT_DOUBLE_EQ(form.lblQuote.left(), 1500);
    // Four lines of the 18-point font: 30 pixels high each.
    EXPECT_DOUBLE_EQ(form.lblQuote.height(), 4 * 30 * 15);
    EXPECT_DOUBLE_EQ(form.lblQuote.top(), (9000 - 1800) / 2.0);
    EXPECT_TRUE(form.lblQuote.visible());
    for (const tk::Control* c :
         Controls{&form.imgImage, &form.lblTitle, &form.lblStudio, &form.lblYear})
        EXPECT_FALSE(c->visible()) << c->name();
    EXPECT_EQ(form.tmrImgChange.interval(), 5000);

    // Each tick shows the next record, laid out around the centre.
    toolkit.advance(4999);
    EXPECT_EQ(form.FilmRecord, 0);
    toolkit.advance(1);
    ASSERT_EQ(form.FilmRecord, 1);

    const auto still = toolkit.resources().load_bitmap(21);
    const double w = still->width_px() * 15.0;
    const double h = still->height_px() * 15.0;
    EXPECT_DOUBLE_EQ(form.imgImage.width(), w);
    EXPECT_EQ(form.lblTitle.caption(), text(61));
    EXPECT_EQ(form.lblQuote.caption(), text(81));
    EXPECT_EQ(form.lblStudio.caption(), text(101));
    EXPECT_EQ(form.lblYear.caption(), text(121));

    const double quote_h = form.lblQuote.height();
    EXPECT_DOUBLE_EQ(form.lblQuote.width(), w * 1.5);
    EXPECT_DOUBLE_EQ(form.imgImage.left(), 6000 - w / 2);
    EXPECT_DOUBLE_EQ(form.imgImage.top(), 4500 - h / 2 - quote_h / 2);
    EXPECT_DOUBLE_EQ(form.lblQuote.top(), form.imgImage.top() + h);
    EXPECT_DOUBLE_EQ(form.lblQuote.left(), 6000 - w * 0.75);
    EXPECT_DOUBLE_EQ(form.lblTitle.left(), 100);
    EXPECT_DOUBLE_EQ(form.lblTitle.top(), 100);
    EXPECT_DOUBLE_EQ(form.lblYear.left() + form.lblYear.width(), 12000 - 50);
    EXPECT_DOUBLE_EQ(form.lblYear.top() + form.lblYear.height(), 9000 - 50);
    EXPECT_DOUBLE_EQ(form.lblStudio.left(), 100);
    EXPECT_DOUBLE_EQ(form.lblStudio.top() + form.lblStudio.height(), 9000 - 50);
    for (const tk::Control* c :
         Controls{&form.imgImage, &form.lblTitle, &form.lblQuote, &form.lblStudio, &form.lblYear})
        EXPECT_TRUE(c->visible()) << c->name();
}

TEST_F(StillQuote, RecordsComeInOrderAndTenIsFollowedByOne) {
    vq::frmMainScreenSaver& form = start();
    for (int expected : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1, 2}) {
        toolkit.advance(5000);
        EXPECT_EQ(form.FilmRecord, expected);
        EXPECT_EQ(form.lblYear.caption(), text(120 + expected));
        const auto still = toolkit.resources().load_bitmap(20 + expected);
        EXPECT_DOUBLE_EQ(form.imgImage.height(), still->height_px() * 15.0);
    }
}

TEST_F(StillQuote, CaptionSettingsAreReadAtEveryTick) {
    const struct {
        const char* key;
        const char* value;
        bool title, quote, studio, year;
        bool picture_alone_centred;
    } cases[] = {
        {"SQQuote", "0", true, false, true, true, true},
        {"SQQuote", "2", true, true, true, true, true},  // nonzero shows, yet is not 1
        {"SQQuote", "1", true, true, true, true, false},
        {"SQTitle", "0", false, true, true, true, false},
        {"SQStudio", "0", true, true, false, true, false},
        {"SQYear", "0", true, true, true, false, false},
        {"SQYear", "junk", true, true, true, true, false},
    };
    for (const auto& c : cases) {
        ProgramRun one;
        const vq::frmMainScreenSaver& form = one.run_saver("1");
        one.toolkit.advance(5000);  // the first still with every caption
        one.toolkit.store().put(c.key, c.value);
        one.toolkit.advance(5000);  // the setting takes effect at the next still
        EXPECT_EQ(form.lblTitle.visible(), c.title) << c.key << '=' << c.value;
        EXPECT_EQ(form.lblQuote.visible(), c.quote) << c.key << '=' << c.value;
        EXPECT_EQ(form.lblStudio.visible(), c.studio) << c.key << '=' << c.value;
        EXPECT_EQ(form.lblYear.visible(), c.year) << c.key << '=' << c.value;
        const double centred_top = 4500 - form.imgImage.height() / 2;
        EXPECT_EQ(form.imgImage.top() == centred_top, c.picture_alone_centred)
            << c.key << '=' << c.value;
        EXPECT_DOUBLE_EQ(form.lblQuote.top(), form.imgImage.top() + form.imgImage.height());
    }
}

}  // namespace
