// The ten keys of the store, each with the default every reader gives and the range of the
// values the dialogs write (what the control that produces the value can hold).
#pragma once

#include <string_view>

#include "toolkit/types.h"

namespace vq {

struct SettingKey {
    std::string_view name;
    tk::Int16 default_value;
    tk::Int16 min;
    tk::Int16 max;
};

namespace keys {

// Display mode: 0 Drifter, 1 Still & Quote, 2 Flasher.
inline constexpr SettingKey Type{"Type", 0, 0, 2};
// Bitmap resource id of the Drifter picture.
inline constexpr SettingKey DriftImage{"DriftImage", 41, 41, 45};
// Milliseconds per Drifter step.
inline constexpr SettingKey DriftSpeed{"DriftSpeed", 25, 10, 500};
// Drifter trail: 0 off, 1 on.
inline constexpr SettingKey DriftTrail{"DriftTrail", 0, 0, 1};
// Milliseconds each flashed picture and each pause between two lasts.
inline constexpr SettingKey FlasherSpeed{"FlasherSpeed", 2000, 250, 5000};
// Milliseconds per film still.
inline constexpr SettingKey SQSpeed{"SQSpeed", 5000, 2000, 10000};
// Which captions a still shows: 0 no, 1 yes.
inline constexpr SettingKey SQTitle{"SQTitle", 1, 0, 1};
inline constexpr SettingKey SQQuote{"SQQuote", 1, 0, 1};
inline constexpr SettingKey SQStudio{"SQStudio", 1, 0, 1};
inline constexpr SettingKey SQYear{"SQYear", 1, 0, 1};

inline constexpr SettingKey kAll[] = {Type,    DriftImage, DriftSpeed, DriftTrail, FlasherSpeed,
                                      SQSpeed, SQTitle,    SQQuote,    SQStudio,   SQYear};

}  // namespace keys
}  // namespace vq
