#include "startup/command_switch.h"

#include <limits>

namespace vq {

namespace {

// Only the space character is trimmed: a tab before the switch stays and spoils it.
std::string_view trim_spaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

std::string ReduceSwitch(std::string_view text) {
    text = trim_spaces(text);
    std::string result(text.substr(0, 2));
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return result;
}

std::optional<std::uint64_t> PreviewWindowHandle(std::string_view text) {
    text = trim_spaces(text);
    if (text.size() < 2) return std::nullopt;
    text = text.substr(2);
    if (!text.empty() && text.front() == ':') text.remove_prefix(1);
    text = trim_spaces(text);
    if (text.empty()) return std::nullopt;
    std::uint64_t handle = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (handle > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
        handle = handle * 10 + digit;
    }
    return handle;
}

}  // namespace vq
