#include "platform/linux/ini_lines.h"

#include <algorithm>
#include <cctype>

namespace vq::hack {
namespace {

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// [begin, end) of text without the blanks around it.
std::pair<std::size_t, std::size_t> trimmed(std::string_view text, std::size_t begin,
                                            std::size_t end) {
    while (begin < end && blank(text[begin])) ++begin;
    while (end > begin && blank(text[end - 1])) --end;
    return {begin, end};
}

std::string_view span(std::string_view text, std::pair<std::size_t, std::size_t> range) {
    return text.substr(range.first, range.second - range.first);
}

}  // namespace

IniLine ReadIniLine(std::string_view raw) {
    IniLine line;
    const auto [begin, end] = trimmed(raw, 0, raw.size());
    if (begin == end || raw[begin] == ';' || raw[begin] == '#') return line;
    if (raw[begin] == '[') {
        const std::size_t close = raw.find(']', begin);
        if (close == std::string_view::npos || close >= end) {
            line.kind = IniLine::Kind::BrokenSection;
        } else {
            line.kind = IniLine::Kind::Section;
            line.name = span(raw, trimmed(raw, begin + 1, close));
        }
        return line;
    }
    const std::size_t equals = raw.find('=', begin);
    if (equals == std::string_view::npos || equals >= end) return line;
    const auto key = trimmed(raw, begin, equals);
    if (key.first == key.second) return line;
    const auto value = trimmed(raw, equals + 1, end);
    line.kind = IniLine::Kind::Entry;
    line.name = span(raw, key);
    line.value = span(raw, value);
    // An empty value stands right after the '=' and its blanks, before what ends the line.
    line.value_begin = value.first;
    line.value_end = value.second;
    return line;
}

bool SameIniName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace vq::hack
