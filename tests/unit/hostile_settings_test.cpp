// Hand-edited stores: every key holding text the program never writes. Each mode still
// starts, reads the fallback (the reader's default) where the text does not convert or does
// not fit, runs, and closes on input.
#include "program_fixture.h"

namespace {

const char* const kHostileTexts[] = {
    "",     "   ",  "abc", "1e9", "-1", "-32769", "32768", "99999",
    "0x10", "&H10", "1.5", "\t3", "-0", "+2",     "1e-9",  "9999999999999999999999"};

// What the mode made of the key: the value it runs with.
int value_in_use(const std::string& key, const vq::frmMainScreenSaver& form) {
    if (key == "DriftSpeed") return form.tmrAni.interval();
    if (key == "DriftTrail") return form.DriftStepX;
    if (key == "DriftImage") return form.DriftPicWidth;
    if (key == "FlasherSpeed") return form.tmrRandom1.interval();
    if (key == "SQSpeed") return form.tmrImgChange.interval();
    return 0;
}

// The modes that read a key: the Drifter's keys, Still & Quote's, the Flasher's; Type all.
std::vector<const char*> modes_reading(const std::string& key) {
    if (key.starts_with("Drift")) return {"0"};
    if (key.starts_with("SQ")) return {"1"};
    if (key == "FlasherSpeed") return {"2"};
    return {"0", "1", "2"};
}

// The value in use after set-up and a few ticks, in the last of the modes reading the key.
int run_every_mode(const std::string& key, const std::string& text) {
    int seen = 0;
    for (const char* type : modes_reading(key)) {
        ProgramRun one;
        headless::HeadlessToolkit& tk = one.toolkit;
        tk.store().put(key, text);
        vq::frmMainScreenSaver& form = one.run_saver(key == "Type" ? text.c_str() : type);
        EXPECT_TRUE(form.visible()) << key << "=\"" << text << "\" Type " << type;
        // Past the first tick of each mode at its default speed; the Drifter's tick is the
        // costly one, so it runs for a few ticks only.
        tk.advance(std::string(type) == "0" ? 100 : 6000);
        seen = value_in_use(key, form);
        form.raise_key_down('X', 0);
        EXPECT_TRUE(tk.ended()) << key << "=\"" << text << "\" Type " << type;
        EXPECT_EQ(tk.cursor_count(), 0);
        EXPECT_TRUE(tk.store().writes().empty()) << "the saver never writes";
    }
    return seen;
}

TEST(HostileSettings, EveryKeyWithEveryHostileTextStillRunsEveryModeThatReadsIt) {
    for (const char* key : {"Type", "DriftImage", "DriftSpeed", "DriftTrail", "FlasherSpeed",
                            "SQSpeed", "SQTitle", "SQQuote", "SQStudio", "SQYear"}) {
        for (const char* text : kHostileTexts) run_every_mode(key, text);
    }
    run_every_mode("DriftImage", std::string(1 << 20, '7'));  // a 1 MiB value
}

TEST(HostileSettings, ValuesThatDoNotFitReadAsTheDefaultAndValuesThatDoAreUsed) {
    const struct {
        const char* key;
        const char* text;
        int expected;  // the value in use
    } cases[] = {{"DriftSpeed", "abc", 25},
                 {"DriftSpeed", "-1", 25},
                 {"DriftSpeed", "1e9", 1000000000},
                 {"DriftSpeed", "1.5", 2},
                 {"DriftSpeed", "0", 0},
                 {"DriftTrail", "1.5", 2},
                 {"DriftTrail", "-1", 1},
                 {"DriftTrail", "abc", 1},
                 {"DriftTrail", "1e9", 1},
                 {"DriftTrail", "2", 3},
                 {"DriftTrail", "0.5", 2},
                 {"DriftImage", "45", 117},
                 {"DriftImage", "32768", 111},
                 {"DriftImage", "20", 111},
                 {"FlasherSpeed", "0", 0},  // a timer of 0 never ticks
                 {"FlasherSpeed", "-250", 2000},
                 {"FlasherSpeed", "-32769", 2000},
                 {"FlasherSpeed", "99999", 99999},
                 {"SQSpeed", "&H10", 5000},
                 {"SQSpeed", "2000", 2000}};
    for (const auto& c : cases) {
        EXPECT_EQ(run_every_mode(c.key, c.text), c.expected) << c.key << "=\"" << c.text << '"';
    }
}

}  // namespace
