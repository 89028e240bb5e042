#include "startup/command_switch.h"

namespace vq {

std::string ReduceSwitch(std::string_view text) {
    // Only the space character is trimmed: a tab before the switch stays and spoils it.
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::string result(text.substr(0, 2));
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return result;
}

}  // namespace vq
