#include "settings/conversions.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vq {
namespace {

std::string_view trim_spaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Digits, at most one point, at least one digit; then an optional exponent.
bool is_plain_decimal(std::string_view t) {
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    bool digits = false;
    while (i < t.size() && is_digit(t[i])) ++i, digits = true;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && is_digit(t[i])) ++i, digits = true;
    }
    if (!digits) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        if (i == t.size() || !is_digit(t[i])) return false;
        while (i < t.size() && is_digit(t[i])) ++i;
    }
    return i == t.size();
}

template <typename Int>
std::optional<Int> to_whole(std::string_view text) {
    const std::optional<double> value = ToDouble(text);
    if (!value) return std::nullopt;
    const double rounded = RoundHalfEven(*value);
    if (rounded < std::numeric_limits<Int>::min() || rounded > std::numeric_limits<Int>::max())
        return std::nullopt;
    return static_cast<Int>(rounded);
}

}  // namespace

double RoundHalfEven(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction < 0.5) return lower;
    if (fraction > 0.5) return lower + 1;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

std::optional<double> ToDouble(std::string_view text) {
    std::string_view t = trim_spaces(text);
    if (!is_plain_decimal(t)) return std::nullopt;
    if (t.front() == '+') t.remove_prefix(1);  // from_chars takes no plus sign
    double value = 0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (error != std::errc{} || end != t.data() + t.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<tk::Int16> ToInt16(std::string_view text) { return to_whole<tk::Int16>(text); }

std::optional<tk::Int32> ToInt32(std::string_view text) { return to_whole<tk::Int32>(text); }

std::optional<bool> ToTruth(std::string_view text) {
    const std::string_view t = trim_spaces(text);
    auto equals_word = [t](std::string_view word) {
        if (t.size() != word.size()) return false;
        for (std::size_t i = 0; i < t.size(); ++i) {
            const char c = t[i] >= 'A' && t[i] <= 'Z' ? static_cast<char>(t[i] - 'A' + 'a') : t[i];
            if (c != word[i]) return false;
        }
        return true;
    };
    if (equals_word("true")) return true;
    if (equals_word("false")) return false;
    const std::optional<double> value = ToDouble(t);
    if (!value) return std::nullopt;
    return *value != 0;
}

std::string FormatInt16(tk::Int16 value) { return std::to_string(value); }

}  // namespace vq
