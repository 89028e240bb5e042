// A private X display for a test program: an Xvfb that picks a display nobody uses itself
// (-displayfd), so that runs side by side never share one.
#pragma once

#include <optional>
#include <string>

#include "support/child_process.h"

namespace vqtest {

class PrivateXvfb {
  public:
    // Starts Xvfb with a screen of `screen` ("WxH", 24 bits) and waits until it takes
    // connections; display() stays empty if it did not. What it says goes to `log`, or
    // nowhere when empty.
    explicit PrivateXvfb(const std::string& screen, const std::string& log = {});
    ~PrivateXvfb();

    // ":N", for DISPLAY.
    const std::string& display() const { return display_; }

  private:
    std::optional<ChildProcess> xvfb_;
    std::string display_;
};

}  // namespace vqtest
