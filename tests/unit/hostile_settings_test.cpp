// Hand-edited stores: every key holding text the program never writes. Each mode still
// starts, reads the fallback (the reader's default) where the text does not convert or does
// not fit, runs, and closes on input.
#include "program_fixture.h"

namespace {

const char* const kHostileTexts[] = {
    "",     "   ",  "abc", "1e9", "-1", "-32769", "32768", "99999",
    "0x10", "&H10", "1.5", "\t3", "-0", "+2",     "1e-9",  "9999999999999999999999"};

struct Observed {
    int drift_step;
    int drift_interval;
    int drift_width;
    int flasher_interval;
    int still_interval;
};

// The modes that read a key: the Drifter's keys, Still & Quote's, the Flasher's; Type all.
std::vector<const char*> modes_reading(const std::string& key) {
    if (key.starts_with("Drift")) return {"0"};
    if (key.starts_with("SQ")) return {"1"};
    if (key == "FlasherSpeed") return {"2"};
    return {"0", "1", "2"};
}

// What the modes reading the key took from the store after set-up and a few ticks.
Observed run_every_mode(const std::string& key, const std::string& text) {
    Observed seen{};
    for (const char* type : modes_reading(key)) {
        ProgramRun one;
        headless::HeadlessToolkit& tk = one.toolkit;
        tk.store().put(key, text);
        vq::frmMainScreenSaver& form = one.run_saver(key == "Type" ? text.c_str() : type);
        EXPECT_TRUE(form.visible()) << key << "=\"" << text << "\" Type " << type;
        // Past the first tick of each mode at its default speed; the Drifter's tick is the
        // costly one, so it runs for a few ticks only.
        tk.advance(std::string(type) == "0" ? 100 : 6000);
        if (std::string(type) == "0") {
            seen.drift_step = form.DriftStepX;
            seen.drift_interval = form.tmrAni.interval();
            seen.drift_width = form.DriftPicWidth;
        } else if (std::string(type) == "1") {
            seen.still_interval = form.tmrImgChange.interval();
        } else {
            seen.flasher_interval = form.tmrRandom1.interval();
        }
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
        int expected;  // the observed value of that key
    } cases[] = {{"DriftSpeed", "abc", 25},
                 {"DriftSpeed", "-1", 25},
                 {"DriftSpeed", "1e9", 1000000000},
                 {"DriftSpeed", "0x10", 25},
                 {"DriftSpeed", "1.5", 2},
                 {"DriftSpeed", "0", 0},
                 {"DriftTrail", "1.5", 2},
                 {"DriftTrail", "-1", 1},
                 {"DriftTrail", "abc", 1},
                 {"DriftTrail", "1e9", 1},
                 {"DriftTrail", "2", 3},
                 {"DriftTrail", "0.5", 2},
                 {"DriftImage", "42", 118},
                 {"DriftImage", "43", 124},
                 {"DriftImage", "44", 115},
                 {"DriftImage", "45", 117},
                 {"DriftImage", "32768", 111},
                 {"DriftImage", "20", 111},
                 {"FlasherSpeed", "-250", 2000},
                 {"FlasherSpeed", "-32769", 2000},
                 {"FlasherSpeed", "99999", 99999},
                 {"SQSpeed", "&H10", 5000},
                 {"SQSpeed", "   ", 5000},
                 {"SQSpeed", "2000", 2000}};
    for (const auto& c : cases) {
        const Observed seen = run_every_mode(c.key, c.text);
        const std::string key = c.key;
        const int observed = key == "DriftSpeed"     ? seen.drift_interval
                             : key == "DriftTrail"   ? seen.drift_step
                             : key == "DriftImage"   ? seen.drift_width
                             : key == "FlasherSpeed" ? seen.flasher_interval
                                                     : seen.still_interval;
        EXPECT_EQ(observed, c.expected) << c.key << "=\"" << c.text << '"';
    }
}

}  // namespace
