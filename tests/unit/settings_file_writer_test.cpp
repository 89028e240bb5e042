// Saving the settings file: only the written entry changes, the file is replaced whole or not
// at all, and a save that cannot happen is told to the user and leaves the file as it was.
#include "platform/linux/settings_file_writer.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>

#include "config/frm_config.h"
#include "config/frm_drifter_config.h"
#include "program_fixture.h"
#include "settings/settings.h"
#include "temp_folder.h"

namespace vq::hack {
namespace {

namespace fs = std::filesystem;

TEST(IniEdit, ChangesOnlyTheWrittenEntry) {
    const struct {
        const char* name;
        std::string before;
        const char* key;
        const char* value;
        std::string after;
    } edits[] = {
        {"empty file gets the section", "", "Type", "1", "[Config]\nType=1\n"},
        {"value replaced in place keeping spelling blanks and comments",
         "; mine\n[other]\nType=7\n\n[config]\n  type = 2  \n# note\nSQSpeed=5000\n", "Type", "0",
         "; mine\n[other]\nType=7\n\n[config]\n  type = 0  \n# note\nSQSpeed=5000\n"},
        {"crlf and bom kept new key after the last entry",
         "\xEF\xBB\xBF[Config]\r\nType=1\r\n\r\n; tail\r\n[Other]\r\nX=1\r\n", "SQSpeed", "3000",
         "\xEF\xBB\xBF[Config]\r\nType=1\r\nSQSpeed=3000\r\n\r\n; tail\r\n[Other]\r\nX=1\r\n"},
        {"a key given twice changes where the reader reads it",
         "[Config]\nType=1\n[Config]\nType=2\nUnknown=x\n", "type", "0",
         "[Config]\nType=1\n[Config]\nType=0\nUnknown=x\n"},
        {"an empty value is filled", "[Config]\nDriftTrail=\n", "DriftTrail", "1",
         "[Config]\nDriftTrail=1\n"},
        {"no final line feed and a section after a broken header", "[Config\nType=2\n[Other]\nA=1",
         "Type", "1", "[Config\nType=2\n[Other]\nA=1\n[Config]\nType=1\n"},
        {"a byte order mark alone", "\xEF\xBB\xBF", "Type", "2", "\xEF\xBB\xBF[Config]\nType=2\n"},
    };
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.name);
        const std::string after = WithIniValue(edit.before, "Config", edit.key, edit.value);
        EXPECT_EQ(after, edit.after);
        // The reader finds the new value in what was written.
        EXPECT_EQ(IniEntries::parse(after).get("Config", edit.key), edit.value);
    }
}

class SettingsFileSave : public ::testing::Test {
  protected:
    // Every name in the folder, the temporary files among them.
    std::set<std::string> names_in(const fs::path& folder) {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    }
    std::string save(const char* key, const char* value) {
        return SaveIniValue(path_.string(), "Config", key, value);
    }

    TempFolder folder_;
    fs::path dir_ = folder_.path();
    fs::path path_ = dir_ / "vqsaver" / "settings.ini";
};

constexpr std::string_view kHandWritten =
    "\xEF\xBB\xBF; settings\r\n[Config]\r\nType = 2\r\nOdd key=kept\r\n\r\n[Other]\r\nA=1";

TEST_F(SettingsFileSave, MakesAPrivateFolderThenKeepsEveryOtherByteAndTheFilesPermissions) {
    EXPECT_EQ(save("Type", "1"), "");
    EXPECT_EQ(read_file(path_), "[Config]\nType=1\n");
    EXPECT_EQ(fs::status(path_.parent_path()).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(names_in(path_.parent_path()), std::set<std::string>{"settings.ini"});

    write_file(path_, kHandWritten);
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(path_, mode);
    EXPECT_EQ(save("SQSpeed", "2000"), "");
    EXPECT_EQ(read_file(path_), WithIniValue(kHandWritten, "Config", "SQSpeed", "2000"));
    EXPECT_EQ(fs::status(path_).permissions(), mode);
}

TEST_F(SettingsFileSave, WritesThroughASymbolicLinkAndKeepsIt) {
    const fs::path real = dir_ / "dotfiles" / "vq.ini";
    write_file(real, "[Config]\nType=2\n");
    fs::create_directories(path_.parent_path());
    fs::create_symlink("../dotfiles/vq.ini", path_);
    EXPECT_EQ(save("Type", "1"), "");
    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_EQ(read_file(real), "[Config]\nType=1\n");
    // A dangling link makes its target; a loop is refused.
    fs::remove(real);
    EXPECT_EQ(save("Type", "2"), "");
    EXPECT_EQ(read_file(real), "[Config]\nType=2\n");
    fs::remove(path_);
    fs::create_symlink("settings.ini", path_);
    EXPECT_NE(save("Type", "0"), "");
}

// Whatever stops a save, the file stays as it was and no temporary file is left.
TEST_F(SettingsFileSave, ASaveThatCannotHappenLeavesTheFileAsItWas) {
    struct Obstacle {
        const char* name;
        std::function<void(const fs::path& file)> make;
        const char* reason;
    };
    const std::vector<Obstacle> obstacles = {
        {"read-only file",
         [](const fs::path& file) { fs::permissions(file, fs::perms::owner_read); },
         "the file is read-only"},
        {"read-only folder",
         [](const fs::path& file) {
             fs::permissions(file.parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
         },
         "its folder is read-only"},
        {"folder in the file's place",
         [](const fs::path& file) {
             fs::remove(file);
             fs::create_directory(file);
         },
         "a folder has the settings file's name"},
        {"file in the folder's place",
         [](const fs::path& file) {
             fs::remove_all(file.parent_path());
             write_file(file.parent_path(), "not a folder");
         },
         "is not a folder"},
    };
    for (const Obstacle& obstacle : obstacles) {
        SCOPED_TRACE(obstacle.name);
        const TempFolder folder;
        const fs::path file = folder.path() / "vqsaver" / "settings.ini";
        write_file(file, kHandWritten);
        obstacle.make(file);
        const std::string before = fs::is_regular_file(file) ? read_file(file) : "";
        const std::string said = SaveIniValue(file.string(), "Config", "Type", "1");
        EXPECT_NE(said.find(obstacle.reason), std::string::npos) << said;
        if (fs::is_regular_file(file)) {
            EXPECT_EQ(read_file(file), before);
        }
        if (fs::is_directory(file.parent_path())) {
            fs::permissions(file.parent_path(), fs::perms::owner_all, fs::perm_options::add);
            EXPECT_LE(names_in(file.parent_path()).size(), 1u);
        }
    }
}

// A disk that fills up during the write: the file size limit makes the write fail as a full
// disk does, in a child process so the limit ends with it.
TEST_F(SettingsFileSave, AFailedWriteLeavesTheFileAndNoTemporaryFile) {
    const std::string old_text = std::string(kHandWritten) + std::string(4000, ';') + "\n";
    write_file(path_, old_text);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(SaveIniValue(path_.string(), "Config", "Type", "1") == "File too large" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(read_file(path_), old_text);
    EXPECT_EQ(names_in(path_.parent_path()), std::set<std::string>{"settings.ini"});
}

// The file is the hand-written one or one whole save of SQSpeed=n in it: n, else -1.
int whole_save_in(const std::string& text) {
    if (text == kHandWritten) return 0;
    const auto value = IniEntries::parse(text).get("Config", "SQSpeed");
    const int n = value ? std::atoi(value->c_str()) : -1;
    return text == WithIniValue(kHandWritten, "Config", "SQSpeed", std::to_string(n)) ? n : -1;
}

TEST_F(SettingsFileSave, TwoSaversAtOnceLeaveOneOfThemWhole) {
    write_file(path_, kHandWritten);
    pid_t savers[2];
    for (int i = 0; i < 2; ++i) {
        savers[i] = fork();
        ASSERT_GE(savers[i], 0);
        if (savers[i] == 0) {
            for (int n = 1; n <= 300; ++n)
                SaveIniValue(path_.string(), "Config", "SQSpeed", std::to_string(i * 1000 + n));
            _exit(0);
        }
    }
    // What a reader sees while they race is always whole.
    for (int live = 2; live > 0;) {
        ASSERT_GE(whole_save_in(read_file(path_)), 0) << read_file(path_);
        for (pid_t& saver : savers) {
            int status = 0;
            if (saver > 0 && waitpid(saver, &status, WNOHANG) == saver) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
                saver = 0;
                --live;
            }
        }
    }
    const int last = whole_save_in(read_file(path_));
    EXPECT_TRUE(last == 300 || last == 1300) << last;
    EXPECT_EQ(names_in(path_.parent_path()), std::set<std::string>{"settings.ini"});
}

}  // namespace
}  // namespace vq::hack

// The dialogs save through the store, and a save that fails is told once, naming the file.
using SavingStoreRun = ProgramFixture;

TEST_F(SavingStoreRun, AReadOnlyFileIsToldOnceForAllTheKeysOfADialog) {
    const TempFolder folder;
    const std::string path = (folder.path() / "settings.ini").string();
    write_file(path, "[Config]\nType=2\n");
    chmod(path.c_str(), 0444);
    vq::hack::SavingSettingsStore store(path,
                                        [this](std::string_view title, std::string_view text) {
                                            toolkit.message_box(title, text);
                                        });
    toolkit.use_settings(store);
    run("/c");
    program.config()->optSvrType[0].set_value(true);
    program.config()->cmdNext.press();
    ASSERT_NE(program.drifter_config(), nullptr);
    program.drifter_config()->cmdOK.press();
    ASSERT_EQ(toolkit.messages().size(), 1u);
    EXPECT_EQ(toolkit.messages()[0].first, "VQ Saver");
    EXPECT_EQ(toolkit.messages()[0].second,
              "Your settings could not be saved to \"" + path +
                  "\": the file is read-only. The file was left as it was.");
    EXPECT_EQ(read_file(path), "[Config]\nType=2\n");
}
