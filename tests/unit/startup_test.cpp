#include "startup/command_switch.h"

#include "config/frm_config.h"
#include "program_fixture.h"

namespace {

TEST(ReduceSwitch, TrimsSpacesLowerCasesAndKeepsTwoCharacters) {
    const struct {
        const char* text;
        const char* reduced;
    } cases[] = {{"/s", "/s"},     {"/S", "/s"},    {"  /s  ", "/s"}, {"/S 123", "/s"},
                 {"/sx", "/s"},    {"/s:77", "/s"}, {"/c:12345", "/c"}, {"", ""},
                 {"    ", ""},     {"/", "/"},      {"s", "s"},       {"-s", "-s"},
                 {"/p 1234", "/p"}, {"/a", "/a"},   {"\t/s", "\t/"}};
    for (const auto& c : cases) EXPECT_EQ(vq::ReduceSwitch(c.text), c.reduced) << c.text;
}

class Startup : public ProgramFixture {};

TEST_F(Startup, TheSaverSwitchSetsTheRunModeAndLoadsTheSaverWindow) {
    for (const char* line : {"/s", "/S", " /s ", "/S 123", "/sx", "/s:77"}) {
        headless::HeadlessToolkit tk;
        vq::Program p(tk);
        tk.set_command_line(line);
        modVQSaver::Main(p);
        EXPECT_EQ(p.lngRunMode, 1) << line;
        ASSERT_NE(p.main_screen_saver(), nullptr) << line;
        EXPECT_TRUE(p.main_screen_saver()->visible()) << line;
    }
}

TEST_F(Startup, TheConfigurationSwitchesOpenTheChooserOnly) {
    for (const char* line : {"/c", "/C", "/c:12345", "/c 12345", "", "   "}) {
        headless::HeadlessToolkit tk;
        vq::Program p(tk);
        tk.set_command_line(line);
        modVQSaver::Main(p);
        EXPECT_EQ(p.lngRunMode, 0) << '"' << line << '"';
        ASSERT_NE(p.config(), nullptr) << '"' << line << '"';
        EXPECT_TRUE(p.config()->visible()) << '"' << line << '"';
        EXPECT_EQ(tk.loaded_form_count(), 1) << '"' << line << '"';
        EXPECT_EQ(p.main_screen_saver(), nullptr) << '"' << line << '"';
    }
}

TEST_F(Startup, OtherSwitchesOpenNothingAndTheProgramEnds) {
    for (const char* line : {"/", "s", "-s", "/p 1234", "/a", "\t/s", "/x"}) {
        headless::HeadlessToolkit tk;
        vq::Program p(tk);
        tk.set_command_line(line);
        modVQSaver::Main(p);
        EXPECT_EQ(p.lngRunMode, 0) << line;
        EXPECT_EQ(tk.loaded_form_count(), 0) << line;
        EXPECT_TRUE(tk.store().reads().empty()) << line;
    }
}

TEST_F(Startup, ASecondInstanceEndsAtOnceWhateverItsSwitch) {
    toolkit.set_another_instance_running(true);
    run("/s");
    EXPECT_EQ(program.lngRunMode, 0);
    EXPECT_EQ(program.main_screen_saver(), nullptr);
    EXPECT_EQ(toolkit.loaded_form_count(), 0);
    EXPECT_TRUE(toolkit.store().reads().empty());
}

// The entry's last step: run() delivers the ticks until no form is loaded; on the headless
// backend at most its run limit of clock time.
TEST_F(Startup, RunDeliversTicksUntilNoFormIsLoaded) {
    run_saver("0");
    toolkit.set_run_limit(1000);
    EXPECT_EQ(toolkit.run(), 0);
    EXPECT_EQ(toolkit.now(), 1000);
    EXPECT_EQ(saver_peer().pictures_drawn(), 1000 / 25);
    saver().raise_key_down('A', 0);
    EXPECT_EQ(toolkit.run(), 0);
    EXPECT_EQ(toolkit.now(), 1000) << "the clock ran with no form loaded";
}

}  // namespace
