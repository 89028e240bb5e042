#include "platform/linux/virtual_keys.h"

#include <array>
#include <utility>

namespace vq::hack {
namespace {

// Keysym values (X11/keysymdef.h), named here so this file needs no X headers.
constexpr std::uint32_t kLowerA = 0x61, kLowerZ = 0x7a, kUpperA = 0x41, kUpperZ = 0x5a;
constexpr std::uint32_t kDigit0 = 0x30, kDigit9 = 0x39, kF1 = 0xffbe, kF24 = 0xffd5;

constexpr std::array<std::pair<std::uint32_t, tk::Int16>, 20> kNamed = {{
    {0xff0d, tk::keys::kReturn},   // Return
    {0xff8d, tk::keys::kReturn},   // KP_Enter
    {0xff1b, tk::keys::kEscape},   // Escape
    {0x0020, tk::keys::kSpace},    // space
    {0xff09, tk::keys::kTab},      // Tab
    {0xff08, 0x08},                // BackSpace
    {0xff55, tk::keys::kPageUp},   // Page_Up
    {0xff56, tk::keys::kPageDown}, // Page_Down
    {0xff57, tk::keys::kEnd},      // End
    {0xff50, tk::keys::kHome},     // Home
    {0xff51, tk::keys::kLeft},     // Left
    {0xff52, tk::keys::kUp},       // Up
    {0xff53, tk::keys::kRight},    // Right
    {0xff54, tk::keys::kDown},     // Down
    {0xffe1, 0x10},                // Shift_L
    {0xffe2, 0x10},                // Shift_R
    {0xffe3, 0x11},                // Control_L
    {0xffe4, 0x11},                // Control_R
    {0xffe9, 0x12},                // Alt_L
    {0xffea, 0x12},                // Alt_R
}};

}  // namespace

tk::Int16 VirtualKeyOf(std::uint32_t keysym, unsigned keycode) {
    if (keysym >= kLowerA && keysym <= kLowerZ)
        return static_cast<tk::Int16>('A' + (keysym - kLowerA));
    if ((keysym >= kUpperA && keysym <= kUpperZ) || (keysym >= kDigit0 && keysym <= kDigit9))
        return static_cast<tk::Int16>(keysym);
    if (keysym >= kF1 && keysym <= kF24) return static_cast<tk::Int16>(0x70 + (keysym - kF1));
    for (const auto& [sym, code] : kNamed)
        if (sym == keysym) return code;
    return static_cast<tk::Int16>(keycode & 0xFF);
}

}  // namespace vq::hack
