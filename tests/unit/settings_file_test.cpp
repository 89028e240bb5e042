#include "platform/linux/settings_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "settings/settings.h"

namespace vq::hack {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/vq-settings-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        path_ = dir_ / "settings.ini";
    }
    void TearDown() override { fs::remove_all(dir_); }

    void write(std::string_view text) {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    FileSettingsStore store(std::vector<std::pair<std::string, std::string>> overrides = {}) {
        return FileSettingsStore(path_.string(), std::move(overrides));
    }

    fs::path dir_;
    fs::path path_;
};

TEST_F(SettingsFile, AMissingFileOrSectionReadsAsNothingStored) {
    FileSettingsStore missing = store();
    EXPECT_EQ(missing.get("VQ_Saver", "Config", "Type"), std::nullopt);
    EXPECT_EQ(ReadInterval(missing, keys::DriftSpeed), 25);

    write("[Other]\nType=2\nDriftSpeed=40\n");
    FileSettingsStore other_section = store();
    EXPECT_EQ(other_section.get("VQ_Saver", "Config", "Type"), std::nullopt);
    EXPECT_EQ(other_section.get("VQ_Saver", "Other", "Type"), "2");
    EXPECT_EQ(other_section.get("Another_App", "Other", "Type"), std::nullopt);
}

TEST_F(SettingsFile, ReadsKeysOfTheConfigSectionWithoutRegardToCase) {
    write(
        "; written by hand\n"
        "[config]\n"
        "  driftspeed = 40  \n"
        "# a comment\n"
        "SQTitle=0\r\n"
        "SQQuote=\r\n"
        "[Config\n"
        "Type=1\n");
    FileSettingsStore file = store();
    EXPECT_EQ(file.get("VQ_Saver", "Config", "Type"), std::nullopt) << "a broken section line";
    EXPECT_EQ(file.get("VQ_Saver", "Config", "DriftSpeed"), "40");
    EXPECT_EQ(file.get("vq_saver", "CONFIG", "sqtitle"), "0") << "CRLF";
    EXPECT_EQ(file.get("VQ_Saver", "Config", "SQQuote"), "");
    EXPECT_TRUE(ReadTruth(file, keys::SQQuote)) << "an empty value reads as the default";
}

TEST_F(SettingsFile, AByteOrderMarkAtTheStartAndTheLastOfTwoEntriesCount) {
    write("\xEF\xBB\xBF[Config]\nType=1\nFlasherSpeed=300\n[Other]\nType=0\n[Config]\nType=2\n");
    FileSettingsStore file = store();
    EXPECT_EQ(ReadInt16(file, keys::Type), 2);
    EXPECT_EQ(ReadInterval(file, keys::FlasherSpeed), 300);
}

TEST_F(SettingsFile, GarbageIsSkippedAndTheGoodLinesStillCount) {
    std::string text = "\x00\x01\xff\xfe garbage\n[Config\n=5\nType\n[Config]\n"s;
    text += std::string(
        "DriftImage=4\x00"
        "3\n",
        15);
    text += "\x80\x81=\x82\nDriftSpeed=0x10\nSQSpeed=2000\nFlasherSpeed=99999999999\n";
    text += "[]\nSQYear=0\n";
    write(text);
    FileSettingsStore file = store();
    EXPECT_EQ(ReadInt16(file, keys::DriftImage), 41);
    EXPECT_EQ(ReadInterval(file, keys::DriftSpeed), 25);
    EXPECT_EQ(ReadInterval(file, keys::SQSpeed), 2000);
    EXPECT_EQ(ReadInterval(file, keys::FlasherSpeed), 2000);
    EXPECT_EQ(file.get("VQ_Saver", "Config", "SQYear"), std::nullopt) << "[] is another section";
}

TEST_F(SettingsFile, AOneMebibyteLineReadsAsTheDefaultAndTheNextLineStillCounts) {
    write("[Config]\nDriftSpeed=" + std::string(1 << 20, '7') + "\nSQSpeed=3000\n" +
          "SQTitle=" + std::string(1 << 20, ' ') + "0\n");
    FileSettingsStore file = store();
    EXPECT_EQ(ReadInterval(file, keys::DriftSpeed), 25);
    EXPECT_EQ(ReadInterval(file, keys::SQSpeed), 3000);
    EXPECT_FALSE(ReadTruth(file, keys::SQTitle));
}

TEST_F(SettingsFile, AFolderOrAnUnreadableFileReadsAsNothingStored) {
    fs::create_directory(path_);
    FileSettingsStore folder = store();
    EXPECT_EQ(folder.get("VQ_Saver", "Config", "Type"), std::nullopt);
    FileSettingsStore nowhere("", {});
    EXPECT_EQ(nowhere.get("VQ_Saver", "Config", "Type"), std::nullopt);
}

TEST_F(SettingsFile, AnEditWhileTheSaverRunsCountsFromTheNextRead) {
    write("[Config]\nSQTitle=1\n");
    FileSettingsStore file = store();
    EXPECT_TRUE(ReadTruth(file, keys::SQTitle));
    write("[Config]\nSQTitle=0\nSQYear=0\n");
    EXPECT_FALSE(ReadTruth(file, keys::SQTitle));
    fs::remove(path_);
    EXPECT_TRUE(ReadTruth(file, keys::SQTitle));
}

TEST_F(SettingsFile, OptionsWinOverTheFileAndABadOptionValueReadsAsTheDefault) {
    write("[Config]\nType=1\nDriftSpeed=100\nFlasherSpeed=300\n");
    FileSettingsStore file =
        store({{"Type", "2"}, {"DriftSpeed", "abc"}, {"Type", "0"}, {"SQSpeed", "2000\nType=2"}});
    EXPECT_EQ(ReadInt16(file, keys::Type), 0) << "the last option for a key";
    EXPECT_EQ(ReadInterval(file, keys::DriftSpeed), 25);
    EXPECT_EQ(ReadInterval(file, keys::FlasherSpeed), 300);
    EXPECT_EQ(ReadInterval(file, keys::SQSpeed), 2000) << "an option value is one line";
}

TEST_F(SettingsFile, WritesStayInMemoryAndNeverReachTheFile) {
    write("[Config]\nType=1\n");
    const auto before = fs::last_write_time(path_);
    FileSettingsStore file = store();
    WriteSetting(file, keys::Type, tk::Int16{2});
    EXPECT_EQ(ReadInt16(file, keys::Type), 2);
    std::ifstream in(path_);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "[Config]\nType=1\n");
    EXPECT_EQ(fs::last_write_time(path_), before);
}

TEST(SettingsFilePath, FollowsXdgConfigHomeElseHome) {
    EXPECT_EQ(SettingsFilePath("/x/cfg", "/home/u"), "/x/cfg/vqsaver/settings.ini");
    EXPECT_EQ(SettingsFilePath(nullptr, "/home/u"), "/home/u/.config/vqsaver/settings.ini");
    EXPECT_EQ(SettingsFilePath("", "/home/u"), "/home/u/.config/vqsaver/settings.ini");
    EXPECT_EQ(SettingsFilePath("relative", "/home/u"), "/home/u/.config/vqsaver/settings.ini");
    EXPECT_EQ(SettingsFilePath(nullptr, nullptr), "");
    EXPECT_EQ(SettingsFilePath(nullptr, "relative"), "");
}

}  // namespace
}  // namespace vq::hack
