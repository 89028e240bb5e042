#include "platform/linux/settings_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <fstream>

#include "platform/linux/ini_lines.h"
#include "settings/settings.h"

namespace vq::hack {
namespace {

std::string lower(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

}  // namespace

IniEntries IniEntries::parse(std::string_view text) {
    IniEntries result;
    if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
    std::optional<std::string> section;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const IniLine line = ReadIniLine(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        switch (line.kind) {
            case IniLine::Kind::Section: section = lower(line.name); break;
            // A broken section line closes the section before it: its entries go nowhere.
            case IniLine::Kind::BrokenSection: section.reset(); break;
            case IniLine::Kind::Entry:
                if (section) result.entries_[{*section, lower(line.name)}] = line.value;
                break;
            case IniLine::Kind::Other: break;
        }
    }
    return result;
}

std::optional<std::string> IniEntries::get(std::string_view section, std::string_view key) const {
    const auto found = entries_.find({lower(section), lower(key)});
    if (found == entries_.end()) return std::nullopt;
    return found->second;
}

std::string SettingsFilePath(const char* xdg_config_home, const char* home) {
    // The XDG rules: a relative XDG_CONFIG_HOME is ignored.
    if (xdg_config_home != nullptr && xdg_config_home[0] == '/')
        return std::string(xdg_config_home) + "/vqsaver/settings.ini";
    if (home != nullptr && home[0] == '/')
        return std::string(home) + "/.config/vqsaver/settings.ini";
    return {};
}

FileSettingsStore::FileSettingsStore(std::string path,
                                     std::vector<std::pair<std::string, std::string>> overrides)
    : path_(std::move(path)) {
    std::string text = "[" + std::string(kSection) + "]\n";
    for (const auto& [key, value] : overrides) {
        // An override is one line: a value that would break it is cut at the break.
        text += key + "=" + value.substr(0, value.find_first_of("\r\n")) + "\n";
    }
    overrides_ = IniEntries::parse(text);
}

void FileSettingsStore::refresh() {
    struct stat info {};
    std::optional<Stamp> stamp;
    if (!path_.empty() && ::stat(path_.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        stamp = Stamp{
            static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::uint64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
    }
    if (read_once_ && stamp == stamp_) return;
    read_once_ = true;
    stamp_ = stamp;
    file_ = IniEntries{};
    if (!stamp) return;
    std::ifstream in(path_, std::ios::binary);
    if (!in) {
        stamp_.reset();
        return;
    }
    std::string text(std::min<std::uint64_t>(stamp->size, kMaxFileBytes), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    file_ = IniEntries::parse(text);
}

std::optional<std::string> FileSettingsStore::get(std::string_view app, std::string_view section,
                                                  std::string_view key) {
    // The file belongs to this program: any other application has nothing in it.
    if (lower(app) != lower(kAppName)) return std::nullopt;
    if (auto value = overrides_.get(section, key)) return value;
    if (const auto found = written_.find({lower(section), lower(key)}); found != written_.end())
        return found->second;
    refresh();
    return file_.get(section, key);
}

void FileSettingsStore::set(std::string_view app, std::string_view section, std::string_view key,
                            std::string_view value) {
    if (lower(app) != lower(kAppName)) return;
    written_[{lower(section), lower(key)}] = std::string(value);
}

}  // namespace vq::hack
