#include "platform/linux/settings_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "platform/linux/ini_lines.h"
#include "settings/settings.h"

namespace vq::hack {
namespace {

// Symbolic links nested deeper than this count as a loop, as the kernel's own limit.
constexpr int kMaxLinkDepth = 40;

std::string parent_of(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string why(int error) {
    return std::strerror(error);
}

// The file a write to path reaches: path itself, or the end of its chain of symbolic links
// (which need not exist yet). Empty after too many links.
std::string resolve_links(std::string path) {
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::string target(static_cast<std::size_t>(info.st_size) + 256, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) return path;
        target.resize(static_cast<std::size_t>(length));
        path = target.starts_with('/') ? target : parent_of(path) + "/" + target;
    }
    return {};
}

// Makes the folder and any missing parent, each new one private to the user.
std::string make_folders(const std::string& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode) ? "" : "\"" + folder + "\" is not a folder";
    if (folder != "/" && folder != ".") {
        if (std::string failure = make_folders(parent_of(folder)); !failure.empty()) return failure;
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return "the folder \"" + folder + "\" could not be made: " + why(errno);
    return {};
}

// Without any write permission bit a file or folder is read-only, also for a user (root)
// whom the system would let write it anyway: the owner made it so on purpose.
bool write_protected(const std::string& path, const struct stat& info) {
    return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

std::string write_all(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return why(errno);
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

// The whole file, or the reason it cannot be read.
std::string read_all(int fd, std::string& text) {
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0) return {};
        if (got < 0) {
            if (errno == EINTR) continue;
            return why(errno);
        }
        if (text.size() + static_cast<std::size_t>(got) > FileSettingsStore::kMaxFileBytes)
            return "the file is too large to be a settings file";
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now, for the error a delayed write may give at close.
    int close() { return ::close(std::exchange(fd_, -1)); }

  private:
    int fd_;
};

// The existing file's text and permission bits, with nothing when there is no file.
struct OldFile {
    std::string text;
    mode_t mode = 0600;
};

std::string read_old_file(const std::string& target, OldFile& old) {
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) return errno == ENOENT ? "" : why(errno);
    if (S_ISDIR(info.st_mode)) return "a folder has the settings file's name";
    if (!S_ISREG(info.st_mode)) return "it is not a regular file";
    if (write_protected(target, info)) return "the file is read-only";
    old.mode = info.st_mode & 07777;
    // Non-blocking, in case the file is swapped for a pipe after the check above.
    Fd fd(::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) return why(errno);
    return read_all(fd.get(), old.text);
}

}  // namespace

std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value) {
    value = value.substr(0, value.find_first_of("\r\n"));
    const std::size_t first_break = text.find('\n');
    const std::string_view eol =
        first_break != std::string_view::npos && first_break > 0 && text[first_break - 1] == '\r'
            ? "\r\n"
            : "\n";

    bool in_section = false;
    std::optional<std::size_t> insert_at;  // after the section's last entry or its header
    std::optional<std::pair<std::size_t, std::size_t>> old_value;
    std::size_t pos = text.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
    while (pos < text.size()) {
        const std::size_t end = text.find('\n', pos);
        const std::size_t line_end = end == std::string_view::npos ? text.size() : end;
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        const IniLine line = ReadIniLine(text.substr(pos, line_end - pos));
        switch (line.kind) {
            case IniLine::Kind::Section:
                in_section = SameIniName(line.name, section);
                if (in_section) insert_at = next;
                break;
            case IniLine::Kind::BrokenSection:
                in_section = false;
                break;
            case IniLine::Kind::Entry:
                if (!in_section) break;
                insert_at = next;
                if (SameIniName(line.name, key))
                    old_value = {pos + line.value_begin, pos + line.value_end};
                break;
            case IniLine::Kind::Other:
                break;
        }
        pos = next;
    }

    std::string result;
    if (old_value) {
        result.append(text.substr(0, old_value->first)).append(value);
        result.append(text.substr(old_value->second));
        return result;
    }
    const std::size_t at = insert_at.value_or(text.size());
    result.append(text.substr(0, at));
    if (!result.empty() && !result.ends_with('\n') && result != kUtf8Bom) result.append(eol);
    if (!insert_at) result.append("[").append(section).append("]").append(eol);
    result.append(key).append("=").append(value).append(eol);
    result.append(text.substr(at));
    return result;
}

std::string SaveIniValue(const std::string& path, std::string_view section, std::string_view key,
                         std::string_view value) {
    if (path.empty()) return "no home folder is known (HOME is not set)";
    const std::string target = resolve_links(path);
    if (target.empty()) return "its symbolic links form a loop";
    const std::string folder = parent_of(target);
    if (std::string failure = make_folders(folder); !failure.empty()) return failure;
    struct stat folder_info {};
    if (::stat(folder.c_str(), &folder_info) != 0) return why(errno);
    if (write_protected(folder, folder_info)) return "its folder is read-only";

    OldFile old;
    if (std::string failure = read_old_file(target, old); !failure.empty()) return failure;
    const std::string text = WithIniValue(old.text, section, key, value);

    std::string temporary = target + ".XXXXXX";
    Fd fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0) return why(errno);
    std::string failure = write_all(fd.get(), text);
    if (failure.empty() && ::fchmod(fd.get(), old.mode) != 0) failure = why(errno);
    if (failure.empty() && ::fsync(fd.get()) != 0) failure = why(errno);
    if (failure.empty() && fd.close() != 0) failure = why(errno);
    if (failure.empty() && ::rename(temporary.c_str(), target.c_str()) != 0) failure = why(errno);
    if (!failure.empty()) {
        ::unlink(temporary.c_str());
        return failure;
    }
    // The rename itself reaches the disk with the folder.
    Fd folder_fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder_fd.get() >= 0) ::fsync(folder_fd.get());
    return {};
}

SavingSettingsStore::SavingSettingsStore(std::string path, FailureReport report)
    : path_(std::move(path)), reader_(path_, {}), report_(std::move(report)) {}

std::optional<std::string> SavingSettingsStore::get(std::string_view app, std::string_view section,
                                                    std::string_view key) {
    return reader_.get(app, section, key);
}

void SavingSettingsStore::set(std::string_view app, std::string_view section, std::string_view key,
                              std::string_view value) {
    if (!SameIniName(app, kAppName)) return;
    const std::string failure = SaveIniValue(path_, section, key, value);
    if (failure.empty()) {
        last_failure_.clear();
        return;
    }
    // One dialog's OK saves several keys: one message says it for all of them.
    if (failure == last_failure_) return;
    last_failure_ = failure;
    report_("VQ Saver", "Your settings could not be saved to \"" + path_ + "\": " + failure +
                            ". The file was left as it was.");
}

}  // namespace vq::hack
