#include "support/xvfb.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>

namespace vqtest {

PrivateXvfb::PrivateXvfb(const std::string& screen, const std::string& log) {
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0) return;
    // -displayfd 1: Xvfb writes the display's number and a line feed on its standard output
    // once it takes connections, or ends without a word. -noreset: the server would reset
    // when its last client leaves, and lose its monitors.
    xvfb_.emplace(std::vector<std::string>{"Xvfb", "-displayfd", "1", "-screen", "0",
                                           screen + "x24", "-nolisten", "tcp", "-noreset"},
                  own_environment(), log, ready[1]);
    close(ready[1]);
    // The pipe stays open for the whole line: Xvfb dies on a broken one.
    pollfd answer{ready[0], POLLIN, 0};
    FILE* in = fdopen(ready[0], "r");
    int number = -1;
    if (poll(&answer, 1, static_cast<int>(3 * kDeadline.count())) == 1 &&
        std::fscanf(in, "%d", &number) == 1)
        display_ = ":" + std::to_string(number);
    std::fclose(in);
}

PrivateXvfb::~PrivateXvfb() {
    // Ended by SIGTERM, Xvfb removes its lock file and socket; SIGKILL is for one that hangs.
    if (!xvfb_) return;
    xvfb_->signal(SIGTERM);
    xvfb_->wait_for_exit();
}

}  // namespace vqtest
