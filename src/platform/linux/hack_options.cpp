#include "platform/linux/hack_options.h"

#include <array>
#include <cctype>
#include <cstdio>

namespace vq::hack {
namespace {

// An option that stores a value under a settings key; names_for_values maps words to the
// stored text (the mode names), any other text is stored as given.
struct ValueOption {
    std::string_view name;
    std::string_view key;
};

// An on/off pair: --name stores "1", --no-name stores "0".
struct ToggleOption {
    std::string_view name;
    std::string_view key;
};

constexpr std::array kValueOptions = {
    ValueOption{"mode", "Type"},
    ValueOption{"drift-image", "DriftImage"},
    ValueOption{"drift-speed", "DriftSpeed"},
    ValueOption{"flasher-speed", "FlasherSpeed"},
    ValueOption{"still-speed", "SQSpeed"},
};

constexpr std::array kToggleOptions = {
    ToggleOption{"trail", "DriftTrail"}, ToggleOption{"title", "SQTitle"},
    ToggleOption{"quote", "SQQuote"},    ToggleOption{"studio", "SQStudio"},
    ToggleOption{"year", "SQYear"},
};

std::string lower(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

// The stored text of a --mode value: the mode's number for its name, else the text itself.
std::string mode_text(std::string_view value) {
    const std::string name = lower(value);
    if (name == "drifter") return "0";
    if (name == "still-quote") return "1";
    if (name == "flasher") return "2";
    return std::string(value);
}

}  // namespace

std::optional<std::uint32_t> ParseWindowId(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 10) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0) return std::nullopt;
        value = value * base + static_cast<std::uint64_t>(digit);
    }
    if (value == 0 || value > 0xFFFFFFFFu) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

ParseResult ParseHackOptions(const std::vector<std::string_view>& arguments) {
    ParseResult result;
    HackOptions& options = result.options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        std::string_view name = argument;
        if (name.starts_with("--")) {
            name.remove_prefix(2);
        } else if (name.starts_with("-") && name.size() > 1) {
            name.remove_prefix(1);
        } else {
            result.error = "unexpected argument '" + std::string(argument) + "'";
            return result;
        }
        std::optional<std::string_view> attached;
        if (const auto equals = name.find('='); equals != std::string_view::npos) {
            attached = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        // The value of an option that takes one: after "=", or the next argument.
        auto take_value = [&]() -> std::optional<std::string_view> {
            if (attached) return attached;
            if (i + 1 < arguments.size()) return arguments[++i];
            result.error = "option '" + std::string(argument) + "' needs a value";
            return std::nullopt;
        };
        auto takes_no_value = [&] {
            if (!attached) return true;
            result.error = "option '--" + std::string(name) + "' takes no value";
            return false;
        };

        if (name == "help" || name == "h") {
            if (!takes_no_value()) return result;
            options.help = true;
            continue;
        }
        if (name == "root") {
            if (!takes_no_value()) return result;
            options.root = true;
            continue;
        }
        if (name == "config") {
            if (!takes_no_value()) return result;
            options.config = true;
            continue;
        }
        if (name == "fullscreen") {
            if (!takes_no_value()) return result;
            options.fullscreen = true;
            continue;
        }
        if (name == "measure") {
            if (!takes_no_value()) return result;
            options.measure = true;
            continue;
        }
        if (name == "wayland" || name == "x11") {
            if (!takes_no_value()) return result;
            (name == "wayland" ? options.wayland : options.x11) = true;
            if (options.wayland && options.x11) {
                result.error = "--wayland and --x11 exclude each other";
                return result;
            }
            continue;
        }
        if (name == "window-id") {
            const auto value = take_value();
            if (!value) return result;
            options.window_id = ParseWindowId(*value);
            if (!options.window_id) {
                result.error = "'" + std::string(*value) + "' is not a window id";
                return result;
            }
            continue;
        }
        bool known = false;
        for (const ValueOption& option : kValueOptions) {
            if (name != option.name) continue;
            const auto value = take_value();
            if (!value) return result;
            options.settings.emplace_back(std::string(option.key), option.name == "mode"
                                                                       ? mode_text(*value)
                                                                       : std::string(*value));
            known = true;
            break;
        }
        for (const ToggleOption& option : kToggleOptions) {
            if (known) break;
            const bool on = name == option.name;
            const bool off = name.starts_with("no-") && name.substr(3) == option.name;
            if (!on && !off) continue;
            if (!takes_no_value()) return result;
            options.settings.emplace_back(std::string(option.key), on ? "1" : "0");
            known = true;
        }
        if (!known) {
            result.error = "unknown option '" + std::string(argument) + "'";
            return result;
        }
    }
    return result;
}

std::string Usage() {
    return "Usage: vqsaver [OPTION]...\n"
           "The VQ Saver screen savers: on X11 as an xscreensaver hack, on Wayland over\n"
           "every output.\n"
           "\n"
           "Where to draw (with none of them, in a window of its own):\n"
           "  --window-id ID         into the window ID (decimal or 0x hex); the variable\n"
           "                         XSCREENSAVER_WINDOW names one too\n"
           "  --root                 into the (virtual) root window\n"
           "  --fullscreen           in its own window over every monitor, pointer hidden,\n"
           "                         until the first key, mouse press or mouse movement\n"
           "  --wayland, --x11       draw on Wayland or on X11 where both are at hand; by\n"
           "                         default Wayland when WAYLAND_DISPLAY is set, unless an\n"
           "                         X window is named\n"
           "\n"
           "Settings (they override ~/.config/vqsaver/settings.ini, section [Config]):\n"
           "  --mode MODE            drifter, still-quote or flasher\n"
           "  --drift-image N        the Drifter's picture, 41 to 45\n"
           "  --drift-speed MS       milliseconds per Drifter step\n"
           "  --trail, --no-trail    the Drifter leaves a trail, or not\n"
           "  --flasher-speed MS     milliseconds per Flasher interval\n"
           "  --still-speed MS       milliseconds per still\n"
           "  --title, --no-title    Still & Quote captions: the film's title,\n"
           "  --quote, --no-quote    the quotation,\n"
           "  --studio, --no-studio  the studio,\n"
           "  --year, --no-year      and the year\n"
           "\n"
           "  --measure              print the size in pixels of every dialog caption and\n"
           "                         Still & Quote text at 96, 120, 144 and 192 dpi, and end\n"
           "  --config               the settings dialogs, which save the settings file\n"
           "  --help                 this text\n"
           "\n"
           "Every option may also be written with one dash, and a value after '='.\n";
}

EntryCommandLine ReadEntryCommandLine(int argc, char** argv) {
    EntryCommandLine line{ParseHackOptions({argv + 1, argv + argc}), std::nullopt};
    if (!line.parsed.error.empty()) {
        std::fprintf(stderr, "vqsaver: %s\n%s", line.parsed.error.c_str(), Usage().c_str());
        line.end_status = 2;
    } else if (line.parsed.options.help) {
        std::fputs(Usage().c_str(), stdout);
        line.end_status = 0;
    }
    return line;
}

}  // namespace vq::hack
