// A full-screen saver in a Linux session as each session's suite offers it, and the fixture
// of what the X11 and Wayland suites prove the same way (support/full_screen_test.cpp), each
// over the monitors of its own session.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/pixels.h"

namespace vqtest {

class FullScreenSession {
  public:
    virtual ~FullScreenSession() = default;
    // vqsaver --fullscreen with `options`, and `settings` as its settings file when given.
    virtual std::unique_ptr<ChildProcess> start(std::vector<std::string> options,
                                                const std::optional<std::string>& settings) = 0;
    // Where the mode runs (the primary monitor, or the output at the layout's origin), its
    // corner at 0, 0, in device pixels.
    virtual Pixels primary() const = 0;
    // Nothing of the desktop shows beside what the mode draws: the other monitors black.
    virtual bool rest_covered() const = 0;
    // The desktop without the saver; made so again before each test.
    virtual bool desktop_shows() const = 0;
    virtual void restore_desktop() {}
    // Puts the pointer at a place of the session's own, numbered by its suite.
    virtual void park(int place) = 0;
    virtual bool pointer_hidden() const = 0;
    virtual void key(const std::string& name) = 0;
    virtual void click(int button) = 0;
    virtual void move_by(int dx, int dy) = 0;
};

// The suite's session; each suite defines it.
FullScreenSession& full_screen_session();

class FullScreen : public ::testing::Test {
  protected:
    void SetUp() override;
    // Every monitor covered: the primary's edges black (what the modes draw keeps off
    // them), and the rest.
    bool covered() const;
    // True once the saver covers every monitor; false if it ends or never does.
    bool start(ChildProcess& saver) const;
    void park(int place);
    // Ended with status 0, and the desktop and a parked pointer are back.
    void expect_ended(ChildProcess& saver) const;
    // Whether the saver still runs once it has read what was sent before: the Drifter on
    // the primary monitor has drawn twice since.
    bool runs_on(ChildProcess& saver) const;
    // The bounds of what the primary monitor shows, once `condition` holds for them.
    template <typename Condition>
    std::optional<Box> drawing_once(Condition&& condition) const {
        return poll_for([&] { return session_.primary().drawn_bounds(); }, condition);
    }

    FullScreenSession& session_ = full_screen_session();
    bool parked_ = false;
};

// The inputs that end the saver, each row with the session's place for the pointer.
enum class Input { key, button, moves, signal };
struct InputCase {
    const char* name;
    const char* mode;
    int place;
    Input input;
    int number = 0;  // the button, or the signal
};

class EndsOnInput : public FullScreen, public ::testing::WithParamInterface<InputCase> {};

// A table's row named by its `name`, for INSTANTIATE_TEST_SUITE_P.
inline constexpr auto kRowName = [](const auto& info) { return std::string(info.param.name); };

}  // namespace vqtest
