#include "config/frm_config.h"
#include "program_fixture.h"

namespace {

// The saver switches set the run mode and show the saver window; the configuration ones
// (and none) the chooser alone; any other opens nothing and reads no setting. A second
// instance opens nothing.
TEST(Startup, EachSwitchOpensTheSaverTheChooserOrNothingAndASecondInstanceNothing) {
    enum Opens { Saver, Chooser, Nothing };
    const struct {
        const char* line;
        Opens opens;
    } cases[] = {
        {"/s", Saver},         {"/S", Saver},         {" /s ", Saver}, {"/S 123", Saver},
        {"/sx", Saver},        {"/s:77", Saver},      {"/c", Chooser}, {"/C", Chooser},
        {"/c:12345", Chooser}, {"/c 12345", Chooser}, {"", Chooser},   {"   ", Chooser},
        {"/", Nothing},        {"s", Nothing},        {"-s", Nothing}, {"/p 1234", Nothing},
        {"/a", Nothing},       {"\t/s", Nothing},     {"/x", Nothing},
    };
    for (const auto& c : cases) {
        ProgramRun one;
        one.run(c.line);
        vq::Program& p = one.program;
        headless::HeadlessToolkit& tk = one.toolkit;
        const std::string line = '"' + std::string(c.line) + '"';
        EXPECT_EQ(p.lngRunMode, c.opens == Saver ? 1 : 0) << line;
        EXPECT_EQ(p.main_screen_saver() != nullptr, c.opens == Saver) << line;
        EXPECT_TRUE(p.main_screen_saver() == nullptr || p.main_screen_saver()->visible()) << line;
        EXPECT_EQ(p.config() != nullptr && p.config()->visible(), c.opens == Chooser) << line;
        if (c.opens != Saver) {
            EXPECT_EQ(tk.loaded_form_count(), c.opens == Chooser ? 1 : 0) << line;
        }
        if (c.opens == Nothing) {
            EXPECT_TRUE(tk.store().reads().empty()) << line;
        }
        // Beside another instance it ends at once, whatever its switch.
        ProgramRun second;
        second.toolkit.set_another_instance_running(true);
        second.run(c.line);
        EXPECT_EQ(second.program.lngRunMode, 0) << line;
        EXPECT_EQ(second.toolkit.loaded_form_count(), 0) << line;
        EXPECT_TRUE(second.toolkit.store().reads().empty()) << line;
    }
}

}  // namespace
