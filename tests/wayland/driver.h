// What the Wayland system tests drive: headless compositors of their own (sway with
// layer-shell, weston without), the programs run in them, screenshots read as pixels, and
// keys and pointer input made through the compositor.
//
// Sway will not run as root, and CI runs as root: there every compositor and every client
// that shares its runtime folder runs as the unprivileged user 65534, with a private
// XDG_RUNTIME_DIR and HOME. As an ordinary user they run as that user.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/pixels.h"

namespace vqw {

using namespace std::chrono_literals;

using vqtest::Box;
using vqtest::kBlack;
using vqtest::poll_until;

// The colour of the test's own full-screen window beneath the saver.
constexpr unsigned kBackdrop = 0xFF0000;

// A screenshot; empty when the capture failed.
using Image = vqtest::Pixels;

// A child process; a session's clients run as its user (Session::client).
using Process = vqtest::ChildProcess;

// A compositor's session: a private runtime folder and home, and the environment that
// puts a client into it.
class Session {
  public:
    virtual ~Session();
    // Started, and for sway answering its IPC with both input devices on its seat.
    bool ready() const { return ready_; }
    std::vector<std::string> environment() const;
    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path socket_path() const { return runtime_ / socket_; }
    // Starts `argv` as a client of this session, with `extra` added to its environment.
    Process client(std::vector<std::string> argv, std::vector<std::string> extra = {},
                   const std::filesystem::path& errors = {}) const;
    // A copy of `program` in the session's folder, which its user can read: the build may lie
    // where only its owner can (a clone in root's home).
    std::string stage(const std::filesystem::path& program) const;
    // vqsaver, staged with its GTK half, which it finds beside it.
    std::string saver_path() const;
    // Stops the compositor (SIGTERM, then waits for it).
    void stop();
    // Kills the compositor with SIGKILL, as a crash would.
    void kill_compositor();

  protected:
    explicit Session(const std::string& socket);
    // Starts the compositor and waits for its socket.
    bool start_compositor(std::vector<std::string> argv, std::vector<std::string> extra);

    std::filesystem::path folder_, runtime_, home_;
    std::string socket_;
    std::optional<Process> compositor_;
    bool ready_ = false;
};

// Sway with the given outputs' configuration lines, a virtual keyboard and a virtual
// pointer plugged in, so that keys, buttons and moves reach clients. Headless, or nested in
// `host`: then each output is a window of the host's, and closing that window takes the
// output away as unplugging a monitor does (a headless output cannot be disabled).
class Sway : public Session {
  public:
    explicit Sway(const std::string& output_lines, int outputs = 3, const Session* host = nullptr);
    // One sway command through its IPC; true if it succeeded.
    bool command(const std::string& text) const;
    bool has_output(const std::string& name) const;
    // One output at its device size; `with_pointer` draws the pointer into it.
    Image capture(const std::string& output, bool with_pointer = false) const;

    void key(const std::string& name) const;
    void click(int button) const;
    // Puts the pointer at a point of the layout, as a move would, counted from the layout's
    // top-left corner.
    void move_to(int x, int y) const;
    void move_by(int dx, int dy) const;

  private:
    std::string swaymsg(std::vector<std::string> arguments) const;
    std::optional<Process> keyboard_, pointer_;
};

// Headless weston: no layer-shell, no virtual input.
class Weston : public Session {
  public:
    Weston(int width, int height);
    // The whole screen through weston's own screenshooter.
    Image capture() const;
};

// A saver started in `session`, with HOME and XDG_CONFIG_HOME of its own; `settings`
// becomes its settings file.
Process start_saver(const Session& session, std::vector<std::string> options,
                    const std::optional<std::string>& settings = std::nullopt,
                    const std::filesystem::path& errors = {});

using vqtest::read_text;

}  // namespace vqw
