#include "settings/settings.h"

#include "settings/conversions.h"

namespace vq {
namespace {

// The stored value run through a conversion; nothing when no text is stored or it does not
// convert.
template <typename Convert>
auto read_converted(tk::SettingsStore& store, std::string_view key, Convert convert)
    -> decltype(convert(std::string_view{})) {
    const std::optional<std::string> text = store.get(kAppName, kSection, key);
    if (!text) return std::nullopt;
    return convert(*text);
}

template <typename Int>
Int in_range_or_default(std::optional<Int> value, Int default_value, Int min, Int max) {
    return value && *value >= min && *value <= max ? *value : default_value;
}

}  // namespace

std::string ReadSetting(tk::SettingsStore& store, std::string_view key,
                        std::string_view default_text) {
    if (auto text = store.get(kAppName, kSection, key)) return *std::move(text);
    return std::string(default_text);
}

void WriteSetting(tk::SettingsStore& store, std::string_view key, std::string_view value) {
    store.set(kAppName, kSection, key, value);
}

void WriteSetting(tk::SettingsStore& store, std::string_view key, tk::Int16 value) {
    WriteSetting(store, key, FormatInt16(value));
}

tk::Int16 ReadInt16(tk::SettingsStore& store, std::string_view key, tk::Int16 default_value,
                    tk::Int16 min, tk::Int16 max) {
    return in_range_or_default(read_converted(store, key, ToInt16), default_value, min, max);
}

tk::Int32 ReadInt32(tk::SettingsStore& store, std::string_view key, tk::Int32 default_value,
                    tk::Int32 min, tk::Int32 max) {
    return in_range_or_default(read_converted(store, key, ToInt32), default_value, min, max);
}

double ReadDouble(tk::SettingsStore& store, std::string_view key, double default_value) {
    return read_converted(store, key, ToDouble).value_or(default_value);
}

bool ReadTruth(tk::SettingsStore& store, std::string_view key, bool default_value) {
    return read_converted(store, key, ToTruth).value_or(default_value);
}

tk::Int32 ReadInterval(tk::SettingsStore& store, std::string_view key, tk::Int32 default_value) {
    return ReadInt32(store, key, default_value, 0);
}

}  // namespace vq
