// The configuration dialogs' settings store on Linux: each value the dialogs write is saved
// to the settings file at once, in a way that never loses or half-writes it.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/linux/settings_file.h"
#include "toolkit/services.h"

namespace vq::hack {

// The text with one entry given a new value. The line the reader takes the entry's value
// from (the key's last line in the section) gets the new value in place of the old one;
// without such a line, "key=value" is added after the section's last entry, or a new section
// at the end. Every other byte (other lines, comments, blank lines, CRLF line ends, a
// byte-order mark) stays as it was.
std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value);

// Sets one entry of the file at path. The new text goes to a temporary file in the same
// folder, is flushed to disk and replaces the file by rename, so the file is always either
// the old one or the new one, whole. A missing folder is made (mode 0700); a symbolic link is
// followed, so its target changes and the link stays. A read-only file or folder, a folder
// or other non-file in the file's place, or a failed write leave the file untouched.
// Returns the reason on failure, empty on success.
std::string SaveIniValue(const std::string& path, std::string_view section, std::string_view key,
                         std::string_view value);

// Reads like FileSettingsStore without options; every set() saves to the file. A failed save
// is reported once (title, text) until a save succeeds again.
class SavingSettingsStore : public tk::SettingsStore {
  public:
    using FailureReport = std::function<void(std::string_view title, std::string_view text)>;

    SavingSettingsStore(std::string path, FailureReport report);

    std::optional<std::string> get(std::string_view app, std::string_view section,
                                   std::string_view key) override;
    void set(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override;

  private:
    std::string path_;
    FileSettingsStore reader_;
    FailureReport report_;
    std::string last_failure_;
};

}  // namespace vq::hack
