// Basic value types shared by the toolkit and the program.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

namespace tk {

using Int16 = std::int16_t;
using Int32 = std::int32_t;

// 0x00BBGGRR, the layout of a Win32 COLORREF.
using Color = std::uint32_t;
constexpr Color kBlack = 0x000000;
constexpr Color kWhite = 0xFFFFFF;
constexpr Color kLightGrey = 0xC0C0C0;
constexpr Color kDarkGrey = 0x808080;
constexpr Color kButtonFace = 0xF0F0F0;

inline constexpr Color rgb(int r, int g, int b) {
    return static_cast<Color>(r) | (static_cast<Color>(g) << 8) | (static_cast<Color>(b) << 16);
}

enum class ScaleMode { Twips, Pixels };
enum class Alignment { Left, Right, Center };

// A rectangle in twips (1/1440 inch), relative to the client area of its container.
struct Rect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

struct Size {
    double width = 0;
    double height = 0;
};

// A rectangle in whole pixels of a window's client area.
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const PixelRect&) const = default;
};

// The smallest rectangle holding both; an empty one adds nothing.
inline PixelRect unite(const PixelRect& a, const PixelRect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    const int left = std::min(a.left, b.left);
    const int top = std::min(a.top, b.top);
    const int right = std::max(a.left + a.width, b.left + b.width);
    const int bottom = std::max(a.top + a.height, b.top + b.height);
    return {left, top, right - left, bottom - top};
}

// What both cover; empty when they do not meet.
inline PixelRect intersect(const PixelRect& a, const PixelRect& b) {
    const int left = std::max(a.left, b.left);
    const int top = std::max(a.top, b.top);
    const int right = std::min(a.left + a.width, b.left + b.width);
    const int bottom = std::min(a.top + a.height, b.top + b.height);
    if (right <= left || bottom <= top) return {};
    return {left, top, right - left, bottom - top};
}

struct Font {
    std::string name = "MS Sans Serif";
    double size = 8.25;  // points
    bool bold = false;
    bool italic = false;
    bool operator==(const Font&) const = default;
};

// Key codes the program and its tests name (the Win32 virtual-key values).
namespace keys {
constexpr Int16 kReturn = 0x0D;
constexpr Int16 kEscape = 0x1B;
constexpr Int16 kSpace = 0x20;
constexpr Int16 kPageUp = 0x21;
constexpr Int16 kPageDown = 0x22;
constexpr Int16 kEnd = 0x23;
constexpr Int16 kHome = 0x24;
constexpr Int16 kLeft = 0x25;
constexpr Int16 kUp = 0x26;
constexpr Int16 kRight = 0x27;
constexpr Int16 kDown = 0x28;
constexpr Int16 kTab = 0x09;
}  // namespace keys

}  // namespace tk
