// Runs the suites on a private Xvfb of their own, started with -displayfd: VQ_XVFB_SCREEN gives its
// size (800x600 by default) and VQ_XVFB_MONITORS, when set, the RandR monitors to make on it, as
// "W/mmWxH/mmH+X+Y" entries separated by blanks, the primary marked with a leading "*".
// VQ_XVFB_LOG names a file for what Xvfb says, when a run needs to know.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "driver.h"

namespace {

bool make_monitors(const std::string& monitors) {
    std::istringstream entries(monitors);
    std::string entry;
    for (int i = 0; entries >> entry; ++i) {
        // A "*" before the monitor's name makes it the primary.
        const bool primary = entry.front() == '*';
        const std::string name = (primary ? "'*vq" : "'vq") + std::to_string(i) + "'";
        const std::string command = "xrandr --setmonitor " + name + " " +
                                    entry.substr(primary ? 1 : 0) + (i == 0 ? " screen" : " none");
        if (std::system(command.c_str()) != 0) return false;
    }
    return true;
}

// The display's number, once Xvfb writes it and a line feed on `ready` as it takes
// connections; -1 if it ends without a word or takes too long. The pipe stays open for the
// whole line: Xvfb dies on a broken one.
int display_number(int ready) {
    pollfd answer{ready, POLLIN, 0};
    FILE* in = fdopen(ready, "r");
    int number = -1;
    const bool said = poll(&answer, 1, static_cast<int>(3 * vqtest::kDeadline.count())) == 1 &&
                      std::fscanf(in, "%d", &number) == 1;
    std::fclose(in);
    return said ? number : -1;
}

class XvfbEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        const char* screen = std::getenv("VQ_XVFB_SCREEN");
        const char* log = std::getenv("VQ_XVFB_LOG");
        int ready[2];
        ASSERT_EQ(pipe2(ready, O_CLOEXEC), 0);
        // -displayfd picks a display nobody uses, so that runs side by side never share one.
        // -noreset: the server would reset when its last client leaves, and lose its monitors.
        xvfb_.emplace(
            std::vector<std::string>{"Xvfb", "-displayfd", "1", "-screen", "0",
                                     std::string(screen != nullptr ? screen : "800x600") + "x24",
                                     "-nolisten", "tcp", "-noreset"},
            vqtest::own_environment(), log != nullptr ? log : "", ready[1]);
        close(ready[1]);
        const int number = display_number(ready[0]);
        ASSERT_GE(number, 0) << "no Xvfb";
        setenv("DISPLAY", (":" + std::to_string(number)).c_str(), 1);
        ASSERT_NE(vqx::display(), nullptr);
        if (const char* monitors = std::getenv("VQ_XVFB_MONITORS")) {
            ASSERT_TRUE(make_monitors(monitors)) << monitors;
        }
    }
    void TearDown() override {
        if (vqx::display() != nullptr) XCloseDisplay(vqx::display());
        // Ended by SIGTERM, Xvfb removes its lock file and socket; SIGKILL is for one that hangs.
        if (!xvfb_) return;
        xvfb_->signal(SIGTERM);
        xvfb_->wait_for_exit();
    }

  private:
    std::optional<vqtest::ChildProcess> xvfb_;
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new XvfbEnvironment);
    return RUN_ALL_TESTS();
}
