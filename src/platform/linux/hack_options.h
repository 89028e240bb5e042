// The command line of the Linux program, in xscreensaver's conventions for hacks: where to
// draw (a window it is given, the root, or a window of its own) and the settings the
// options override. Portable: no X headers, so the unit tests read it too.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vq::hack {

struct HackOptions {
    // --window-id: the X window to draw into.
    std::optional<std::uint32_t> window_id;
    // --root: the virtual root (XSCREENSAVER_WINDOW, then a __SWM_VROOT window), else the
    // X root.
    bool root = false;
    // --fullscreen: a window of its own over every monitor that ends on input.
    bool fullscreen = false;
    // --wayland, --x11: the display system to use where both are at hand (XWayland).
    bool wayland = false;
    bool x11 = false;
    bool help = false;
    // --measure: print the captions' sizes as this backend lays them out, and end.
    bool measure = false;
    // --config: the settings dialogs instead of the saver; they write the settings file.
    bool config = false;
    // Settings the options set, as (key, stored text) in command-line order; a later one
    // for the same key wins. The text goes through the same conversions as a stored one,
    // so a value that does not convert reads as the setting's default.
    std::vector<std::pair<std::string, std::string>> settings;
};

struct ParseResult {
    HackOptions options;
    // Empty when the command line is good; otherwise one line saying what is wrong.
    std::string error;
};

// The arguments after the program's name. Every option takes one dash or two, and a value
// either as the next argument or after "=".
ParseResult ParseHackOptions(const std::vector<std::string_view>& arguments);

// A window id in decimal or 0x hexadecimal, as xscreensaver writes it; nothing when the
// text is not one (empty, other characters, 0, or beyond 32 bits).
std::optional<std::uint32_t> ParseWindowId(std::string_view text);

// The text of --help.
std::string Usage();

// The command line as each of the program's entries takes it: the options, or the status to
// end with at once — 2 after a bad one (its message and the usage on standard error), 0 after
// --help (the usage on standard output).
struct EntryCommandLine {
    ParseResult parsed;
    std::optional<int> end_status;
};
EntryCommandLine ReadEntryCommandLine(int argc, char** argv);

}  // namespace vq::hack
