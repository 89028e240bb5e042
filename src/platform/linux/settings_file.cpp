#include "platform/linux/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <ctime>

#include "platform/linux/ini_lines.h"
#include "settings/settings.h"

namespace vq::hack {
namespace {

std::string lower(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

// UTF-16 begins with its byte-order mark, FF FE or FE FF; neither begins UTF-8 text.
bool is_utf16(std::string_view text) {
    return text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF");
}

std::int64_t now_ns() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
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
    // One open, without blocking (a FIFO or a device put in the file's place must never stall
    // the event loop), and the stamp taken from that open file, so stamp and text agree.
    const int fd =
        path_.empty() ? -1 : ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    struct stat info {};
    std::optional<Stamp> stamp;
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        stamp = Stamp{
            static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::uint64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
    }
    if (read_once_ && stamp == stamp_ && !stamp_recent_) {
        if (fd >= 0) ::close(fd);
        return;
    }
    read_once_ = true;
    stamp_ = stamp;
    // A rewrite within the same tick of the file system's clock keeps the stamp: while the
    // file's time is that recent, every read reads it again.
    stamp_recent_ = stamp && stamp->mtime_ns > now_ns() - kTimestampTickNs;
    file_ = IniEntries{};
    if (stamp) {
        std::string text(std::min<std::uint64_t>(stamp->size, kMaxFileBytes), '\0');
        std::size_t filled = 0;
        while (filled < text.size()) {
            const ssize_t got = ::read(fd, text.data() + filled, text.size() - filled);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            filled += static_cast<std::size_t>(got);
        }
        text.resize(filled);
        if (is_utf16(text)) {
            if (!said_utf16_)
                std::fprintf(stderr,
                             "vqsaver: %s is UTF-16 text (as regedit exports): its settings are "
                             "not read; save it as UTF-8\n",
                             path_.c_str());
            said_utf16_ = true;
        } else {
            file_ = IniEntries::parse(text);
        }
    }
    if (fd >= 0) ::close(fd);
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
