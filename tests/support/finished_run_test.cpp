// What the program says on standard error and the status it ends with, run to its end in a
// session: a bad command line, and a face of other metrics than Arial's answering for Arial.
#include "support/finished_run.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace vqtest {
namespace {

// Which arguments are bad, and that the message names each, is the option table's.
TEST(FinishedRun, ABadCommandLineIsNamedOnOneLineWithTheUsageAndStatusTwo) {
    const FinishedRun bad = run_to_end({"--fullscreen", "--speed"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.errors.find("vqsaver: "), 0u) << bad.errors;
    EXPECT_NE(bad.errors.substr(0, bad.errors.find('\n')).find("--speed"), std::string::npos)
        << bad.errors;
    EXPECT_NE(bad.errors.find("\nUsage: vqsaver"), std::string::npos) << bad.errors;
    EXPECT_EQ(run_to_end({"--help"}).status, 0);
}

int warnings_in(const std::string& text) {
    int count = 0;
    const std::string warning = "Arial is shown in";
    for (auto at = text.find(warning); at != std::string::npos; at = text.find(warning, at + 1))
        ++count;
    return count;
}

// Captions are laid out for Arial's metrics. Fontconfig always answers with some face, so
// when the one it gives for Arial has other metrics, the program says so, once, and still
// runs; with Liberation Sans installed it says nothing. --measure opens every font the
// dialogs and the saver use, Arial among them.
TEST(FinishedRun, SaysOnceWhenArialIsAnsweredByAFaceOfOtherMetrics) {
    const std::filesystem::path dejavu = "/usr/share/fonts/truetype/dejavu";
    if (!std::filesystem::exists(dejavu)) GTEST_SKIP() << "no " << dejavu << " (fonts-dejavu-core)";
    std::string folder = (std::filesystem::temp_directory_path() / "vq-fonts-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    chmod(folder.c_str(), 0755);  // read by the session's user too
    // A configuration offering DejaVu only: what a desktop without Liberation Sans has.
    const std::filesystem::path config = std::filesystem::path(folder) / "fonts.conf";
    std::ofstream(config) << "<?xml version=\"1.0\"?>\n<fontconfig><dir>" << dejavu.string()
                          << "</dir></fontconfig>\n";
    chmod(config.c_str(), 0644);
    const FinishedRun dejavu_only =
        run_to_end({"--measure"}, {"FONTCONFIG_FILE=" + config.string()});
    std::filesystem::remove_all(folder);
    EXPECT_EQ(dejavu_only.status, 0);
    EXPECT_EQ(warnings_in(dejavu_only.errors), 1) << dejavu_only.errors;
    EXPECT_NE(dejavu_only.errors.find("DejaVu"), std::string::npos) << dejavu_only.errors;

    const FinishedRun installed = run_to_end({"--measure"});
    EXPECT_EQ(installed.status, 0);
    EXPECT_EQ(warnings_in(installed.errors), 0) << installed.errors;
}

}  // namespace
}  // namespace vqtest
