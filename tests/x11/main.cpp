// Runs the suites on a private Xvfb of their own: VQ_XVFB_SCREEN gives its size (800x600 by
// default) and VQ_XVFB_MONITORS, when set, the RandR monitors to make on it, as
// "W/mmWxH/mmH+X+Y" entries separated by blanks, the primary marked with a leading "*".
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "driver.h"

namespace {

pid_t g_xvfb = -1;

void stop_xvfb() {
    if (g_xvfb <= 0) return;
    kill(g_xvfb, SIGTERM);
    waitpid(g_xvfb, nullptr, 0);
    g_xvfb = -1;
}

// Starts Xvfb on the first display from :200 whose lock is free; Xvfb writes the display's
// number to -displayfd once it takes connections. If another server has the same number,
// this Xvfb fails and the next number is tried.
bool start_xvfb(const std::string& screen) {
    for (int n = 200; n < 400; ++n) {
        if (access(("/tmp/.X" + std::to_string(n) + "-lock").c_str(), F_OK) == 0) continue;
        int ready[2];
        if (pipe(ready) != 0) return false;
        const pid_t pid = fork();
        if (pid == 0) {
            close(ready[0]);
            const int null = open("/dev/null", O_RDWR);
            dup2(null, 0);
            dup2(null, 1);
            // VQ_XVFB_LOG names a file for what Xvfb says, when a run needs to know.
            const char* log = std::getenv("VQ_XVFB_LOG");
            dup2(log != nullptr ? open(log, O_WRONLY | O_CREAT | O_APPEND, 0600) : null, 2);
            const std::string display = ":" + std::to_string(n);
            const std::string fd = std::to_string(ready[1]);
            const std::string geometry = screen + "x24";
            execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", geometry.c_str(), "-nolisten",
                   "tcp", "-noreset", "-displayfd", fd.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        char number[16] = {};
        const ssize_t got = read(ready[0], number, sizeof number - 1);
        close(ready[0]);
        if (got > 0) {
            // Another server may hold the display's socket without a lock file we can see:
            // ours then dies at once. It must still be there after a round trip.
            setenv("DISPLAY", (":" + std::to_string(atoi(number))).c_str(), 1);
            if (Display* probe = XOpenDisplay(nullptr)) {
                XSync(probe, False);
                XCloseDisplay(probe);
                if (waitpid(pid, nullptr, WNOHANG) == 0) {
                    g_xvfb = pid;
                    return true;
                }
            }
            kill(pid, SIGTERM);
        }
        waitpid(pid, nullptr, 0);
    }
    return false;
}

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

class XvfbEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        const char* screen = std::getenv("VQ_XVFB_SCREEN");
        ASSERT_TRUE(start_xvfb(screen != nullptr ? screen : "800x600")) << "no Xvfb";
        ASSERT_NE(vqx::display(), nullptr);
        if (const char* monitors = std::getenv("VQ_XVFB_MONITORS")) {
            ASSERT_TRUE(make_monitors(monitors)) << monitors;
        }
    }
    void TearDown() override {
        if (vqx::display() != nullptr) XCloseDisplay(vqx::display());
        stop_xvfb();
    }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new XvfbEnvironment);
    const int status = RUN_ALL_TESTS();
    stop_xvfb();
    return status;
}
