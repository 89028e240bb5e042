// Captions are laid out for Arial's metrics. fontconfig always answers with some face, so
// when the one it gives for Arial has other metrics, vqsaver says so on standard error, once,
// and still runs.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "driver.h"

namespace vqx {
namespace {

constexpr const char* kWarning = "Arial is shown in";

int occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST(Fonts, SaysOnceWhenArialIsAnsweredByAFaceOfOtherMetrics) {
    const std::filesystem::path dejavu = "/usr/share/fonts/truetype/dejavu";
    if (!std::filesystem::exists(dejavu)) GTEST_SKIP() << "no " << dejavu << " (fonts-dejavu-core)";
    std::string dir_template =
        (std::filesystem::temp_directory_path() / "vq-fonts-XXXXXX").string();
    ASSERT_NE(mkdtemp(dir_template.data()), nullptr);
    const std::filesystem::path dir = dir_template;
    // A configuration offering DejaVu only: what a desktop without Liberation Sans has.
    std::ofstream(dir / "fonts.conf")
        << "<?xml version=\"1.0\"?>\n<fontconfig><dir>" << dejavu.string() << "</dir><cachedir>"
        << (dir / "cache").string() << "</cachedir></fontconfig>\n";
    {
        // --measure opens every font the dialogs and the saver use, Arial among them.
        Saver saver({"--measure"}, {"FONTCONFIG_FILE=" + (dir / "fonts.conf").string()});
        ASSERT_EQ(saver.wait_for_exit(), 0);
        const std::string errors = saver.error_output();
        EXPECT_EQ(occurrences(errors, kWarning), 1) << errors;
        EXPECT_NE(errors.find("DejaVu"), std::string::npos) << errors;
    }
    std::filesystem::remove_all(dir);
}

TEST(Fonts, SaysNothingWhenArialHasItsMetrics) {
    Saver saver({"--measure"});
    ASSERT_EQ(saver.wait_for_exit(), 0);
    EXPECT_EQ(occurrences(saver.error_output(), kWarning), 0) << saver.error_output();
}

}  // namespace
}  // namespace vqx
