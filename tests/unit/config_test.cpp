// The configuration run: the chooser, the three options dialogs and the About box, driven
// as a user drives them, with what each leaves in the store.
#include <cctype>
#include <utility>
#include <vector>

#include "config/frm_about.h"
#include "config/frm_config.h"
#include "config/frm_drifter_config.h"
#include "config/frm_flasher_config.h"
#include "config/frm_still_quote_config.h"
#include "program_fixture.h"
#include "toolkit/command_button.h"
#include "toolkit/text_rules.h"
#include "toolkit/toolkit.h"

namespace {

using Writes = std::vector<std::pair<std::string, std::string>>;

constexpr const char* kDesignMessage = "Description of ScreenSaver";

// The configuration run, driven by the user's steps.
struct ConfigurationRun : ProgramRun {
    vq::frmConfig& open_chooser(const char* stored_type = nullptr) {
        if (stored_type != nullptr) toolkit.store().put("Type", stored_type);
        run("/c");
        return chooser();
    }
    vq::frmConfig& chooser() { return *program.config(); }
    // A click on an option button: it is selected and takes the focus.
    void choose(int index) {
        tk::OptionButton& option = chooser().optSvrType[static_cast<std::size_t>(index)];
        option.set_value(true);
        option.set_focus();
    }
    // A user's step in the dialog in front: a mode's option by its number, a button by the
    // text on it, Escape, or the frame's close box.
    void take(const std::string& step) {
        tk::Form& form = in_front();
        if (step == "Escape") return form.press_cancel_button();
        if (step == "close box") return form.close_box_pressed();
        if (std::isdigit(static_cast<unsigned char>(step[0]))) return choose(step[0] - '0');
        for (tk::Control* control : form.controls()) {
            auto* button = dynamic_cast<tk::CommandButton*>(control);
            if (button != nullptr && tk::shown_text(button->caption()) == step) {
                return button->press();
            }
        }
        ADD_FAILURE() << "no button \"" << step << "\" in " << form.name();
    }
    // An options dialog while one shows, else the chooser.
    tk::Form& in_front() {
        tk::Form* const options[] = {program.drifter_config(), program.still_quote_config(),
                                     program.flasher_config()};
        for (tk::Form* dialog : options) {
            if (dialog != nullptr && dialog->visible()) return *dialog;
        }
        return chooser();
    }
    const Writes& writes() { return toolkit.store().writes(); }
};

class Configuration : public ::testing::Test, public ConfigurationRun {};

TEST_F(Configuration, TheChooserSelectsTheStoredModeAndShowsTheDesignMessage) {
    // Nothing stored, or a hand-edited value that names no mode, selects the default, Drifter.
    const struct {
        const char* stored;  // nullptr: nothing stored
        int selected;
    } cases[] = {{nullptr, 0}, {"0", 0},  {"1", 1},   {"2", 2},
                 {"3", 0},     {"-1", 0}, {"abc", 0}, {"", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored == nullptr ? "(nothing)" : c.stored);
        ConfigurationRun one;
        const vq::frmConfig& chooser = one.open_chooser(c.stored);
        EXPECT_TRUE(chooser.visible());
        for (const tk::OptionButton& option : chooser.optSvrType)
            EXPECT_EQ(option.value(), option.index() == c.selected);
        EXPECT_EQ(chooser.lblMessage.caption(), kDesignMessage);
        EXPECT_TRUE(one.writes().empty());
    }
}

TEST_F(Configuration, TheMessageDescribesTheOptionThatHasTheFocus) {
    open_chooser();
    const char* descriptions[] = {
        "See your selected image of Velmarr drift aimlessly around your screen.",
        "Selected stills with quotes from some of Velmarr's most popular movies.",
        "Random images of Velmarr will flash up at assorted locations on your screen.",
    };
    for (int index : {2, 0, 1}) {
        choose(index);
        EXPECT_EQ(chooser().lblMessage.caption(), descriptions[index]);
    }
}

// User journeys through the dialogs, and what the store holds and shows at their end.
TEST(ConfigurationJourneys, LeaveTheStoreAsTheUserChose) {
    const struct {
        const char* name;
        const char* stored_type;  // nullptr: nothing stored
        std::vector<std::string> steps;
        Writes expected_writes;
        bool program_ends;
    } journeys[] = {
        {"OK stores the mode", nullptr, {"1", "OK"}, {{"Type", "1"}}, true},
        {"Cancel stores the mode read at load", nullptr, {"2", "Cancel"}, {{"Type", "0"}}, true},
        {"the close box writes nothing", "1", {"2", "close box"}, {}, true},
        {"Cancel restores the mode read at load",
         "1",
         {"2", "Next", "Cancel", "Cancel"},
         {{"Type", "2"}, {"Type", "1"}},
         true},
        {"Flasher options' OK",
         nullptr,
         {"2", "Next", "OK"},
         {{"Type", "2"}, {"FlasherSpeed", "2000"}},
         true},
        {"Escape in options: the chooser again", "0", {"Next", "Escape"}, {{"Type", "0"}}, false},
        {"options' close box: the chooser again",
         "0",
         {"1", "Next", "close box"},
         {{"Type", "1"}},
         false},
        {"Drifter options' OK, in order",
         nullptr,
         {"Next", "OK"},
         {{"Type", "0"}, {"DriftSpeed", "25"}, {"DriftImage", "41"}, {"DriftTrail", "0"}},
         true},
    };
    for (const auto& journey : journeys) {
        SCOPED_TRACE(journey.name);
        ConfigurationRun one;
        one.open_chooser(journey.stored_type);
        for (const std::string& step : journey.steps) one.take(step);
        EXPECT_EQ(one.writes(), journey.expected_writes);
        EXPECT_EQ(one.toolkit.ended(), journey.program_ends);
        EXPECT_EQ(one.chooser().visible(), !journey.program_ends);
    }
}

TEST_F(Configuration, NextOpensTheOptionsOfTheSelectedModeCancelBringsTheChooserBackOkStores) {
    open_chooser();
    take("1");
    take("Next");
    vq::frmStillQuoteConfig* options = program.still_quote_config();
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(options->visible());
    EXPECT_FALSE(chooser().visible());
    EXPECT_TRUE(chooser().loaded());
    EXPECT_EQ(program.drifter_config(), nullptr);
    EXPECT_EQ(program.flasher_config(), nullptr);

    options->chkYear.set_value(0);
    options->hsbFlashSpeed.set_value(options->hsbFlashSpeed.min());
    take("Default");
    EXPECT_EQ(options->chkYear.value(), 1);
    EXPECT_EQ(options->hsbFlashSpeed.value(), 5000);
    // Cancel stores nothing and the chooser's selection is as it was; a second Next reads the
    // store afresh.
    options->chkQuote.set_value(0);
    take("Cancel");
    EXPECT_EQ(writes(), (Writes{{"Type", "1"}}));
    EXPECT_TRUE(chooser().optSvrType[1].value());
    take("Next");
    vq::frmStillQuoteConfig& again = *program.still_quote_config();
    EXPECT_EQ(again.chkQuote.value(), 1);
    // OK stores every value, in order.
    for (tk::CheckBox* box : {&again.chkMovieTitle, &again.chkStudio, &again.chkYear})
        box->set_value(0);
    again.hsbFlashSpeed.set_value(again.hsbFlashSpeed.max());
    take("OK");
    EXPECT_EQ(writes(), (Writes{{"Type", "1"},
                                {"Type", "1"},
                                {"SQSpeed", "10000"},
                                {"SQTitle", "0"},
                                {"SQQuote", "1"},
                                {"SQStudio", "0"},
                                {"SQYear", "0"}}));
}

TEST_F(Configuration, EscapeQuestionMarkAndAboutOpenTheAboutBoxWithTheVersionValues) {
    open_chooser();
    chooser().press_cancel_button();
    ASSERT_NE(program.about(), nullptr);
    EXPECT_TRUE(program.about()->visible());
    EXPECT_TRUE(chooser().visible()) << "Escape is not the chooser's Cancel";
    program.about()->press_default_button();
    EXPECT_FALSE(program.about()->loaded());

    chooser().optSvrType[0].set_focus();
    chooser().raise_key_press('?');
    EXPECT_TRUE(program.about()->visible());
    program.about()->press_cancel_button();
    EXPECT_FALSE(program.about()->loaded());
    EXPECT_FALSE(toolkit.ended());
    EXPECT_TRUE(writes().empty());

    chooser().cmdAbout.press();
    const vq::frmAbout& about = *program.about();
    const tk::VersionInfo version = toolkit.resources().version();
    ASSERT_FALSE(version.product_name.empty());
    EXPECT_EQ(about.caption(), "About " + version.product_name);
    EXPECT_EQ(about.lblTitle.caption(), version.product_name);
    EXPECT_EQ(about.lblVersion.caption(), "Version 1.2.0");
    EXPECT_EQ(about.lblSlogan.caption(), version.file_description);
    EXPECT_EQ(about.lblAuthor.caption(), "Written by: " + version.company_name);
    EXPECT_EQ(about.lblCopyright.caption(), version.legal_copyright);
    EXPECT_EQ(about.lblDisclaimer.caption(), version.comments);
    EXPECT_NE(about.picIcon.picture(), nullptr);
}

TEST_F(Configuration, TheDrifterOptionsPreviewTheChosenPictureAndDefaultThenOkStoresTheDefaults) {
    open_chooser();
    take("Next");
    vq::frmDrifterConfig& d = *program.drifter_config();
    EXPECT_EQ(d.cboImgSelect.items(),
              (std::vector<std::string>{"Portrait 1", "Dishevelled", "Portrait 2",
                                        "Hat and Big Grin!", "Black Tie"}));
    for (int position = 0; position < 5; ++position) {
        d.cboImgSelect.set_list_index(position);
        const tk::PicturePtr expected =
            toolkit.resources().load_bitmap(static_cast<tk::Int16>(41 + position));
        EXPECT_EQ(d.imgPreview.picture(), expected) << "position " << position;
    }
    d.chkShowTrail.set_value(1);
    take("Default");
    take("OK");
    EXPECT_EQ(
        writes(),
        (Writes{{"Type", "0"}, {"DriftSpeed", "50"}, {"DriftImage", "41"}, {"DriftTrail", "0"}}));
}

TEST_F(Configuration, OptionsDialogsShowStoredValuesAndTheirDefaultsForValuesOutOfRange) {
    const struct {
        const char* type;
        const char* key;
        const char* stored;
        int shown;
    } cases[] = {{"0", "DriftSpeed", "300", 300},   {"0", "DriftSpeed", "5", 25},
                 {"0", "DriftImage", "45", 4},      {"0", "DriftImage", "46", 0},
                 {"0", "DriftTrail", "1", 1},       {"0", "DriftTrail", "2", 0},
                 {"2", "FlasherSpeed", "250", 250}, {"2", "FlasherSpeed", "99999", 2000},
                 {"1", "SQSpeed", "10000", 10000},  {"1", "SQSpeed", "1999", 5000},
                 {"1", "SQYear", "0", 0},           {"1", "SQYear", "-1", 1}};
    for (const auto& c : cases) {
        ConfigurationRun one;
        one.toolkit.store().put(c.key, c.stored);
        one.open_chooser(c.type);
        one.take("Next");
        vq::Program& p = one.program;
        const std::string key = c.key;
        int shown = -1;
        if (key == "DriftSpeed") shown = p.drifter_config()->hsbDriftSpeed.value();
        if (key == "DriftImage") shown = p.drifter_config()->cboImgSelect.list_index();
        if (key == "DriftTrail") shown = p.drifter_config()->chkShowTrail.value();
        if (key == "FlasherSpeed") shown = p.flasher_config()->hsbFlashSpeed.value();
        if (key == "SQSpeed") shown = p.still_quote_config()->hsbFlashSpeed.value();
        if (key == "SQYear") shown = p.still_quote_config()->chkYear.value();
        EXPECT_EQ(shown, c.shown) << c.key << "=\"" << c.stored << '"';
    }
}

}  // namespace
