#include "support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>

extern char** environ;

namespace vqtest {

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

std::vector<std::string> own_environment() {
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) env.emplace_back(*entry);
    return env;
}

std::vector<std::string> with_entries(std::vector<std::string> environment,
                                      std::vector<std::string> entries) {
    for (auto& entry : entries) {
        const std::string name = entry.substr(0, entry.find('=') + 1);
        std::erase_if(environment, [&](const std::string& old) { return old.starts_with(name); });
        environment.push_back(std::move(entry));
    }
    return environment;
}

std::string read_text(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> saver_home(const std::filesystem::path& home,
                                    const std::optional<std::string>& settings) {
    const std::filesystem::path config = home / "config";
    std::filesystem::create_directories(config / "vqsaver");
    if (settings) std::ofstream(config / "vqsaver" / "settings.ini", std::ios::binary) << *settings;
    return {"HOME=" + home.string(), "XDG_CONFIG_HOME=" + config.string()};
}

pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
            int output_fd, const std::filesystem::path& errors) {
    std::vector<char*> args, envs;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const auto& e : environment) envs.push_back(const_cast<char*>(e.c_str()));
    envs.push_back(nullptr);
    const std::string errors_path = errors.string();
    const pid_t pid = fork();
    if (pid != 0) return pid;
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(output_fd >= 0 ? output_fd : null, 1);
    const int err =
        errors_path.empty() ? null : open(errors_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(err >= 0 ? err : null, 2);
    setpgid(0, 0);
    execvpe(args[0], args.data(), envs.data());
    _exit(127);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(other.pid_), status_(other.status_) {
    other.pid_ = -1;
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && running()) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

bool ChildProcess::running() {
    if (pid_ <= 0 || status_) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
}

std::optional<int> ChildProcess::wait_for_exit(milliseconds limit) {
    poll_until([this] { return !running(); }, limit);
    return status_;
}

void ChildProcess::signal(int number) {
    if (running()) kill(pid_, number);
}

}  // namespace vqtest
