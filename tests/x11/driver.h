// What the system tests of vqsaver drive: a private Xvfb, the real program started with real
// command lines, windows to hand it, the screen's pixels, and input through XTEST.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/pixels.h"

namespace vqx {

using vqtest::poll_until;

// The test's own connection to the private display.
Display* display();

// The primary RandR monitor, or else the whole screen.
vqtest::Box primary_monitor();

using vqtest::Box;
using vqtest::kBlack;
using vqtest::kWhite;

// A capture of the screen (the root window with everything on it). What is drawn is what is
// neither black nor the white of the root and of the tests' windows beneath.
struct ScreenImage : vqtest::Pixels {
    static ScreenImage capture();
    // `area` of the screen, its corner at 0, 0.
    static vqtest::Pixels capture(const Box& area);
    std::optional<Box> drawn_bounds(const Box& area) const {
        return Pixels::drawn_bounds(area, kWhite);
    }
    std::optional<Box> drawn_bounds() const { return drawn_bounds(box()); }
    // The program has taken the area: its four corner pixels are black.
    bool corners_black(const Box& area) const;
};

// A white top-level window of the test's, mapped, for the program to draw into.
class TestWindow {
  public:
    explicit TestWindow(Box where);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    std::string id_text() const;
    const Box& box() const { return box_; }
    void destroy();
    // Gives the window a new size, its top-left corner staying where it is.
    void resize(int width, int height);

  private:
    Window window_ = None;
    Box box_;
};

// Sets the screen's resource database (RESOURCE_MANAGER), or removes it for null.
void set_resources(const char* text);

// Paints the root white, so that every pixel the program leaves uncovered shows.
void whiten_root();

// A fresh home for the program, with its settings file when one is given.
class SaverHome {
  protected:
    explicit SaverHome(const std::optional<std::string>& settings_file);
    ~SaverHome();
    std::filesystem::path home_;
    std::vector<std::string> home_entries_;  // the environment's entries that put it there
};

// The program, started with a command line and settings of its own (a fresh home), with
// extra NAME=value entries in its environment.
class Saver : private SaverHome, public vqtest::ChildProcess {
  public:
    explicit Saver(std::vector<std::string> arguments,
                   const std::vector<std::string>& environment = {},
                   const std::optional<std::string>& settings_file = std::nullopt);
    // What it wrote to standard error.
    std::string error_output() const { return vqtest::read_text(home_ / "stderr"); }
};

// Input as a user makes it, through the XTEST extension.
void press_key(const char* keysym_name);
void click(unsigned button);
void move_pointer(int x, int y);
void move_pointer_by(int dx, int dy);
// True while the pointer shows an invisible cursor.
bool pointer_hidden();

// True while some client holds the keyboard: the test's own try to take it fails.
bool keyboard_held();

// The bytes of pixmaps the X server holds for the process's connection, through the
// X-Resource extension; nothing if it has none or the server cannot tell.
std::optional<unsigned long> pixmap_bytes_of(pid_t pid);

}  // namespace vqx
