#include "support/xvfb.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "support/polling.h"

namespace vqtest {

PrivateXvfb::PrivateXvfb(const std::string& screen, const std::string& log) {
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(log.empty() ? null : open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600), 2);
        fcntl(ready[1], F_SETFD, 0);  // Xvfb's own
        const std::string fd = std::to_string(ready[1]);
        const std::string geometry = screen + "x24";
        // -noreset: the server would reset when its last client leaves, and lose its monitors.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", geometry.c_str(),
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    // Xvfb writes the display's number and a line feed once it takes connections, or ends
    // without a word. The pipe stays open for the whole line: Xvfb dies on a broken one.
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + 3 * kDeadline;
    pollfd answer{ready[0], POLLIN, 0};
    char c = 0;
    while (pid_ > 0 && number.find('\n') == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || poll(&answer, 1, static_cast<int>(left.count())) != 1 ||
            read(ready[0], &c, 1) != 1)
            break;
        number += c;
    }
    if (number.find('\n') != std::string::npos)
        display_ = ":" + std::to_string(std::strtol(number.c_str(), nullptr, 10));
    close(ready[0]);
}

PrivateXvfb::~PrivateXvfb() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    if (!poll_until([this] { return waitpid(pid_, nullptr, WNOHANG) == pid_; })) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

}  // namespace vqtest
