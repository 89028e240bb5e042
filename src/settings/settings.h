// The settings store of application VQ_Saver, section Config. Every user reads a value when
// it needs it; nothing is cached. The key table (keys.h) gives each key's default.
#pragma once

#include <string>
#include <string_view>

#include "settings/keys.h"
#include "toolkit/services.h"
#include "toolkit/types.h"

namespace vq {

inline constexpr std::string_view kAppName = "VQ_Saver";
inline constexpr std::string_view kSection = "Config";

// The stored text, or the default text when nothing is stored under the key.
std::string ReadSetting(tk::SettingsStore& store, std::string_view key,
                        std::string_view default_text);
void WriteSetting(tk::SettingsStore& store, std::string_view key, std::string_view value);

// Typed reads and writes of a key from the key table, all through the two operations
// above: a reader converts the text ReadSetting gives with the key's default text, so every
// reader of a key gives the same default. A stored text that does not convert reads exactly
// like a missing entry.

// Stores the decimal text of a 16-bit integer.
void WriteSetting(tk::SettingsStore& store, const SettingKey& key, tk::Int16 value);
// A value within the key's range (what the control that takes it can hold), else the default.
tk::Int16 ReadInt16(tk::SettingsStore& store, const SettingKey& key);
// Any 16-bit value, else the default: for a reader that gives other values a meaning of its own.
tk::Int16 ReadAnyInt16(tk::SettingsStore& store, const SettingKey& key);
// A timer interval in milliseconds: any 32-bit value a window timer can take (0 leaves it
// idle); a negative one reads as the default.
tk::Int32 ReadInterval(tk::SettingsStore& store, const SettingKey& key);
double ReadDouble(tk::SettingsStore& store, const SettingKey& key);
bool ReadTruth(tk::SettingsStore& store, const SettingKey& key);

}  // namespace vq
