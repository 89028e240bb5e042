#include "platform/linux/settings_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "settings/settings.h"
#include "temp_folder.h"

namespace vq::hack {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class SettingsFile : public ::testing::Test {
  protected:
    void write(std::string_view text) { write_file(path_, text); }
    FileSettingsStore store(std::vector<std::pair<std::string, std::string>> overrides = {}) {
        return FileSettingsStore(path_.string(), std::move(overrides));
    }

    TempFolder folder_;
    fs::path dir_ = folder_.path();
    fs::path path_ = dir_ / "settings.ini";
};

TEST_F(SettingsFile, AMissingFileAFolderOrNoPathReadsAsNothingStored) {
    EXPECT_EQ(store().get("VQ_Saver", "Config", "Type"), std::nullopt);
    EXPECT_EQ(FileSettingsStore("", {}).get("VQ_Saver", "Config", "Type"), std::nullopt);
    EXPECT_EQ(FileSettingsStore(dir_.string(), {}).get("VQ_Saver", "Config", "Type"), std::nullopt);
}

// What the store reads from a file written by hand: a key's raw text, or nothing.
TEST_F(SettingsFile, ReadsTheLastEntryOfAKeyInTheConfigSectionWithoutRegardToCase) {
    // Bytes that are no text, a key with a NUL in its value, then a good line.
    const std::string garbled =
        "\x00\x01\xff\xfe garbage\n[Config\n=5\nType\n\x80\x81=\x82\n"
        "[Config]\nDriftImage=4\x00"
        "3\nSQSpeed=2000\n"s;
    const struct {
        std::string text;
        const char* key;
        std::optional<std::string> value;
    } cases[] = {
        {"; by hand\n[config]\n  driftspeed = 40  \n# a comment\n", "DriftSpeed", "40"},
        {"[Config]\r\nSQTitle=0\r\n", "sqtitle", "0"},
        {"[Config]\nSQQuote=\n", "SQQuote", ""},
        {"[Other]\nType=2\n", "Type", std::nullopt},
        {"[Config]\nA=1\n[Config\nType=1\n", "Type", std::nullopt},  // a broken section line
        {"[Config]\nA=1\n[]\nSQYear=0\n", "SQYear", std::nullopt},   // [] is another section
        {"\xEF\xBB\xBF[Config]\nType=1\n[Other]\nType=0\n[Config]\nType=2\n", "Type", "2"},
        {garbled, "SQSpeed", "2000"},
        {garbled, "DriftImage", std::string{'4', '\0', '3'}},
        {"[Config]\nDriftSpeed=" + std::string(1 << 20, '7') + "\nSQSpeed=3000\n", "SQSpeed",
         "3000"},
        {"[Config]\nSQTitle=" + std::string(1 << 20, ' ') + "0\n", "SQTitle", "0"},
    };
    for (const auto& c : cases) {
        write(c.text);
        EXPECT_EQ(store().get("vq_saver", "CONFIG", c.key), c.value) << c.text.substr(0, 60);
    }
}

TEST_F(SettingsFile, AnEditCountsFromTheNextReadEvenASameSizeRewriteWithinOneTick) {
    write("[Config]\nSQTitle=1\n");
    struct stat first {};
    ASSERT_EQ(::stat(path_.c_str(), &first), 0);
    FileSettingsStore file = store();
    EXPECT_TRUE(ReadTruth(file, keys::SQTitle));
    // Rewritten in place, the same size, within the same tick of the file system's clock:
    // device, inode, size and modification time are all as they were.
    write("[Config]\nSQTitle=0\n");
    const struct timespec same[2] = {first.st_atim, first.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path_.c_str(), same, 0), 0);
    EXPECT_FALSE(ReadTruth(file, keys::SQTitle));
    fs::remove(path_);
    EXPECT_TRUE(ReadTruth(file, keys::SQTitle)) << "a removed file holds nothing";
}

TEST_F(SettingsFile, AFifoSwappedInWhileTheSaverReadsNeverBlocksIt) {
    // A writer swaps regular files and FIFOs in and out of place while the store reads;
    // opening a FIFO that has no writer would block a reader forever.
    constexpr int kRounds = 300;
    std::atomic<bool> swapped_all = false;
    std::atomic<bool> done = false;
    const auto fifo = [&](int round) { return dir_ / ("fifo" + std::to_string(round)); };
    std::thread swapper([&] {
        for (int round = 0; round < kRounds && !done; ++round) {
            const fs::path next = dir_ / "next.ini";
            std::ofstream(next) << "[Config]\nSQTitle=" << round % 2 << "\n";
            ::rename(next.c_str(), path_.c_str());
            // Each FIFO keeps a name of its own, by which a stuck reader can be freed.
            ::mkfifo(fifo(round).c_str(), 0600);
            ::link(fifo(round).c_str(), next.c_str());
            ::rename(next.c_str(), path_.c_str());
        }
        swapped_all = true;
    });
    std::thread reader([&] {
        FileSettingsStore file = store();
        while (!swapped_all) ReadTruth(file, keys::SQTitle);
        done = true;
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const bool blocked = !done;
    done = true;
    swapper.join();
    // A reader stuck in a FIFO is freed when a writer comes and goes.
    for (int round = 0; round < kRounds && blocked; ++round) {
        const int fd = ::open(fifo(round).c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
    }
    reader.join();
    EXPECT_FALSE(blocked) << "a read blocked on a FIFO";
}

TEST_F(SettingsFile, AUtf16FileReadsAsDefaultsAndSaysSoOnce) {
    // What regedit exports: UTF-16 with a byte-order mark, little- or big-endian.
    for (const bool little : {true, false}) {
        std::string text = little ? "\xFF\xFE"s : "\xFE\xFF"s;
        for (const char c : "[Config]\r\nType=2\r\nSQTitle=0\r\n"s)
            text += little ? std::string{c, '\0'} : std::string{'\0', c};
        write(text);
        FileSettingsStore file = store();
        testing::internal::CaptureStderr();
        EXPECT_EQ(file.get("VQ_Saver", "Config", "Type"), std::nullopt);
        EXPECT_TRUE(ReadTruth(file, keys::SQTitle));
        write(text + (little ? "\n\0"s : "\0\n"s));  // read again: it changed
        EXPECT_EQ(file.get("VQ_Saver", "Config", "Type"), std::nullopt);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.find("UTF-16"), said.rfind("UTF-16")) << said;
        EXPECT_NE(said.find("UTF-16"), std::string::npos) << said;
        EXPECT_NE(said.find(path_.string()), std::string::npos) << said;
    }
}

TEST_F(SettingsFile, OptionsWinOverTheFileABadOptionReadsAsTheDefaultAndWritesStayInMemory) {
    const std::string text = "[Config]\nType=1\nDriftSpeed=100\nFlasherSpeed=300\n";
    write(text);
    const auto before = fs::last_write_time(path_);
    FileSettingsStore file =
        store({{"Type", "2"}, {"DriftSpeed", "abc"}, {"Type", "0"}, {"SQSpeed", "2000\nType=2"}});
    EXPECT_EQ(ReadInt16(file, keys::Type), 0) << "the last option for a key";
    EXPECT_EQ(ReadInterval(file, keys::DriftSpeed), 25);
    EXPECT_EQ(ReadInterval(file, keys::FlasherSpeed), 300);
    EXPECT_EQ(ReadInterval(file, keys::SQSpeed), 2000) << "an option value is one line";
    // A write is read back but never reaches the file.
    WriteSetting(file, keys::DriftImage, tk::Int16{44});
    EXPECT_EQ(ReadInt16(file, keys::DriftImage), 44);
    EXPECT_EQ(read_file(path_), text);
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
