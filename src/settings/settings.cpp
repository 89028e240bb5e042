#include "settings/settings.h"

#include <limits>
#include <optional>

#include "settings/conversions.h"

namespace vq {
namespace {

// The key's text, stored or its default, run through a conversion; the default when the
// stored text does not convert or its value lies outside [min, max].
template <typename Value, typename Convert>
Value read_converted(tk::SettingsStore& store, const SettingKey& key, Convert convert,
                     Value min = std::numeric_limits<Value>::lowest(),
                     Value max = std::numeric_limits<Value>::max()) {
    const std::optional<Value> value =
        convert(ReadSetting(store, key.name, FormatInt16(key.default_value)));
    return value && *value >= min && *value <= max ? *value : static_cast<Value>(key.default_value);
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

void WriteSetting(tk::SettingsStore& store, const SettingKey& key, tk::Int16 value) {
    WriteSetting(store, key.name, FormatInt16(value));
}

tk::Int16 ReadInt16(tk::SettingsStore& store, const SettingKey& key) {
    return read_converted<tk::Int16>(store, key, ToInt16, key.min, key.max);
}

tk::Int16 ReadAnyInt16(tk::SettingsStore& store, const SettingKey& key) {
    return read_converted<tk::Int16>(store, key, ToInt16);
}

tk::Int32 ReadInterval(tk::SettingsStore& store, const SettingKey& key) {
    return read_converted<tk::Int32>(store, key, ToInt32, 0);
}

double ReadDouble(tk::SettingsStore& store, const SettingKey& key) {
    return read_converted<double>(store, key, ToDouble);
}

bool ReadTruth(tk::SettingsStore& store, const SettingKey& key) {
    return read_converted<bool>(store, key, ToTruth);
}

}  // namespace vq
