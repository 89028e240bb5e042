// Captions are laid out for Arial's metrics. Pango always answers with some face, so when
// the one it gives for Arial has other metrics, the saver says so on standard error, once,
// and still runs; with Liberation Sans installed it says nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "driver.h"

namespace vqw {
namespace {

int warnings_in(const std::string& text) {
    int count = 0;
    const std::string warning = "Arial is shown in";
    for (auto at = text.find(warning); at != std::string::npos; at = text.find(warning, at + 1))
        ++count;
    return count;
}

TEST(Fonts, SaysOnceWhenArialIsAnsweredByAFaceOfOtherMetrics) {
    const std::filesystem::path dejavu = "/usr/share/fonts/truetype/dejavu";
    if (!std::filesystem::exists(dejavu)) GTEST_SKIP() << "no " << dejavu << " (fonts-dejavu-core)";
    Sway sway("output HEADLESS-1 mode 800x600 position 0 0", 1);
    ASSERT_TRUE(sway.ready());
    // A configuration offering DejaVu only: what a desktop without Liberation Sans has.
    const std::filesystem::path config = sway.folder() / "fonts.conf";
    std::ofstream(config) << "<?xml version=\"1.0\"?>\n<fontconfig><dir>" << dejavu.string()
                          << "</dir></fontconfig>\n";
    ::chmod(config.c_str(), 0644);
    struct Case {
        std::vector<std::string> environment;
        int warnings;
    };
    for (const Case& c : {Case{{"FONTCONFIG_FILE=" + config.string()}, 1}, Case{{}, 0}}) {
        const std::filesystem::path errors = sway.folder() / "measure.err";
        // --measure opens every font the dialogs and the saver use, Arial among them.
        Process saver = sway.client({saver_path(), "--measure"}, c.environment, errors);
        EXPECT_EQ(saver.wait_for_exit(20s), 0);
        const std::string said = read_text(errors);
        EXPECT_EQ(warnings_in(said), c.warnings) << said;
        if (c.warnings > 0) {
            EXPECT_NE(said.find("DejaVu"), std::string::npos) << said;
        }
    }
}

}  // namespace
}  // namespace vqw
