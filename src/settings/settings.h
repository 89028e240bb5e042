// The settings store of application VQ_Saver, section Config. Every user reads a value when
// it needs it, with its own default; nothing is cached.
#pragma once

#include <limits>
#include <string>
#include <string_view>

#include "toolkit/services.h"
#include "toolkit/types.h"

namespace vq {

inline constexpr std::string_view kAppName = "VQ_Saver";
inline constexpr std::string_view kSection = "Config";

// The stored text, or the default text when nothing is stored under the key.
std::string ReadSetting(tk::SettingsStore& store, std::string_view key,
                        std::string_view default_text);
void WriteSetting(tk::SettingsStore& store, std::string_view key, std::string_view value);
// Stores the decimal text of a 16-bit integer.
void WriteSetting(tk::SettingsStore& store, std::string_view key, tk::Int16 value);

// Typed readers. A stored text that does not convert, or whose value lies outside
// [min, max] (what the control or timer that takes it can hold), reads exactly like a
// missing entry: the default.
tk::Int16 ReadInt16(tk::SettingsStore& store, std::string_view key, tk::Int16 default_value,
                    tk::Int16 min = std::numeric_limits<tk::Int16>::min(),
                    tk::Int16 max = std::numeric_limits<tk::Int16>::max());
tk::Int32 ReadInt32(tk::SettingsStore& store, std::string_view key, tk::Int32 default_value,
                    tk::Int32 min = std::numeric_limits<tk::Int32>::min(),
                    tk::Int32 max = std::numeric_limits<tk::Int32>::max());
double ReadDouble(tk::SettingsStore& store, std::string_view key, double default_value);
bool ReadTruth(tk::SettingsStore& store, std::string_view key, bool default_value);

// A timer interval in milliseconds: any 32-bit value a window timer can take (0 leaves it
// idle); a negative one reads as the default.
tk::Int32 ReadInterval(tk::SettingsStore& store, std::string_view key, tk::Int32 default_value);

}  // namespace vq
