// Runs the suites on a private Xvfb of their own: VQ_XVFB_SCREEN gives its size (800x600 by
// default) and VQ_XVFB_MONITORS, when set, the RandR monitors to make on it, as
// "W/mmWxH/mmH+X+Y" entries separated by blanks, the primary marked with a leading "*".
// VQ_XVFB_LOG names a file for what Xvfb says, when a run needs to know.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>
#include <sstream>
#include <string>

#include "driver.h"
#include "support/xvfb.h"

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

class XvfbEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        const char* screen = std::getenv("VQ_XVFB_SCREEN");
        const char* log = std::getenv("VQ_XVFB_LOG");
        xvfb_ = std::make_unique<vqtest::PrivateXvfb>(screen != nullptr ? screen : "800x600",
                                                      log != nullptr ? log : "");
        ASSERT_FALSE(xvfb_->display().empty()) << "no Xvfb";
        setenv("DISPLAY", xvfb_->display().c_str(), 1);
        ASSERT_NE(vqx::display(), nullptr);
        if (const char* monitors = std::getenv("VQ_XVFB_MONITORS")) {
            ASSERT_TRUE(make_monitors(monitors)) << monitors;
        }
    }
    void TearDown() override {
        if (vqx::display() != nullptr) XCloseDisplay(vqx::display());
        xvfb_.reset();
    }

  private:
    std::unique_ptr<vqtest::PrivateXvfb> xvfb_;
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new XvfbEnvironment);
    return RUN_ALL_TESTS();
}
