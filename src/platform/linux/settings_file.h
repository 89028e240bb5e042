// The Linux settings store: a per-user file read with the same keys and conversions as the
// Windows registry, $XDG_CONFIG_HOME/vqsaver/settings.ini (~/.config when unset), with the
// command line's options on top. The saver never writes the file.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "toolkit/services.h"

namespace vq::hack {

// The entries of an INI text: "[Section]" lines open a section, "Key=value" lines in a
// section are entries. Section and key names match without regard to case, as the
// registry's do; blanks around names and values are dropped, as are a trailing CR, a UTF-8
// byte-order mark and lines starting with ';' or '#'. Lines that are none of these are
// skipped, and a key given twice in a section keeps the last value.
class IniEntries {
  public:
    static IniEntries parse(std::string_view text);
    std::optional<std::string> get(std::string_view section, std::string_view key) const;
    std::size_t size() const { return entries_.size(); }

  private:
    std::map<std::pair<std::string, std::string>, std::string> entries_;
};

// Where the file lives, from XDG_CONFIG_HOME and HOME (either may be null); empty when
// neither gives an absolute folder.
std::string SettingsFilePath(const char* xdg_config_home, const char* home);

// Reads the file anew whenever it has changed since the last read, so that a value edited
// while the saver runs counts from its next read, as in the registry. Only a regular file is
// read; a file in UTF-16 (what regedit exports) reads as nothing stored, said once on stderr.
// Overrides (the command line's) win over the file; set() keeps values in memory only.
class FileSettingsStore : public tk::SettingsStore {
  public:
    // Files beyond this size are read only this far: a settings file is a few hundred bytes.
    static constexpr std::size_t kMaxFileBytes = 16u << 20;

    FileSettingsStore(std::string path, std::vector<std::pair<std::string, std::string>> overrides);

    std::optional<std::string> get(std::string_view app, std::string_view section,
                                   std::string_view key) override;
    void set(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override;

  private:
    void refresh();

    std::string path_;
    IniEntries overrides_;
    IniEntries file_;
    // What identified the file at the last read; nothing when it could not be read.
    struct Stamp {
        std::uint64_t device, inode, size;
        std::int64_t mtime_ns;
        bool operator==(const Stamp&) const = default;
    };
    // The coarsest file-system clock a settings file may live on (FAT's, 2 s): a file last
    // changed this recently may change again and keep its stamp.
    static constexpr std::int64_t kTimestampTickNs = 2'000'000'000;
    std::optional<Stamp> stamp_;
    bool stamp_recent_ = false;
    bool read_once_ = false;
    bool said_utf16_ = false;
    std::map<std::pair<std::string, std::string>, std::string> written_;
};

}  // namespace vq::hack
