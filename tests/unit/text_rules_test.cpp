#include "toolkit/text_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace tk {
namespace {

TEST(FontPixelHeight, RoundsThePointSizeButNeverOutgrowsThe96DpiHeightScaled) {
    const int dpis[] = {96, 120, 144, 192};
    const struct {
        double points;
        int pixels[4];  // at each of the DPIs
    } sizes[] = {{8.25, {11, 13, 16, 22}}, {11.25, {15, 18, 22, 30}}, {14.25, {19, 23, 28, 38}}};
    for (const auto& size : sizes)
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(font_pixel_height(size.points, dpis[i]), size.pixels[i])
                << size.points << " pt at " << dpis[i];
    EXPECT_EQ(font_pixel_height(24, 72), 24);
    // Nonsense sizes and DPIs give the smallest font, never undefined arithmetic.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const auto& [points, dpi] :
         {std::pair{0.0, 96}, {-3.0, 96}, {8.25, 0}, {8.25, -96}, {nan, 96}})
        EXPECT_EQ(font_pixel_height(points, dpi), 1) << points << " pt at " << dpi;
    EXPECT_GT(font_pixel_height(1e300, 96), 1000);
    EXPECT_GT(font_pixel_height(std::numeric_limits<double>::infinity(), 96), 1000);
}

TEST(ShownText, AccessKeyMarksAreTakenOutAsWin32Does) {
    const struct {
        const char* caption;
        const char* shown;
    } cases[] = {
        {"&OK", "OK"},   {"Drifter &Options...", "Drifter Options..."},
        {"a&&b", "a&b"}, {"&&", "&"},
        {"&&&x", "&x"},  {"A&", "A&"},  // a lone mark at the end is shown
        {"&", "&"},      {"a&&&", "a&&"},
        {"", ""},        {"plain", "plain"},
    };
    for (const auto& c : cases) EXPECT_EQ(shown_text(c.caption), c.shown) << c.caption;
}

TEST(BreakLines, BreaksAtLineFeedsThenGreedilyBetweenWords) {
    const TextWidth ten_per_char = [](std::string_view text) {
        return static_cast<int>(text.size()) * 10;
    };
    using Lines = std::vector<std::string>;
    const struct {
        const char* text;
        int wrap_px;
        Lines lines;
    } cases[] = {
        {"", 0, {""}},
        {"one two three", 0, {"one two three"}},
        // A word goes onto the line only with the blank after it: "one two " is 80 wide.
        {"one two three", 80, {"one two ", "three"}},
        {"one two three", 79, {"one ", "two ", "three"}},
        {"one two", 70, {"one two"}},  // the last word has no blank after it
        {"a\nb", 0, {"a", "b"}},
        {"a\r\nb", 100, {"a", "b"}},
        {"a\n", 0, {"a", ""}},
        {"verylongword x", 30, {"verylongword", "x"}},
        {"a  b", 20, {"a ", "b"}},
        {"a  b", 30, {"a  ", "b"}},
        {"a  b", 40, {"a  b"}},
        {"a b   ", 100, {"a b   "}},
        {"a b   ", 50, {"a ", "b   "}},
        {"   ", 100, {"   "}},
        {"  lead in", 60, {"  lead", "in"}},
        {"one two\nthree four", 70, {"one two", "three ", "four"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(break_lines(c.text, c.wrap_px, ten_per_char), c.lines)
            << '"' << c.text << "\" in " << c.wrap_px;
}

TEST(WindowsLineMetrics, ScalesAndRoundsAscentAndDescentEachOnTheirOwn) {
    // Liberation Sans and Arial: usWinAscent 1854, usWinDescent 434 of 2048 units.
    const struct {
        int ascent, descent, units;
        double pixels;
        int want_ascent, want_descent;
    } cases[] = {
        {1854, 434, 2048, 11, 10, 2},
        {1854, 434, 2048, 15, 14, 3},
        {1854, 434, 2048, 22, 20, 5},
        {1854, 434, 2048, 28, 25, 6},
        {1000, 500, 1000, 10, 10, 5},
        // A font without Windows metrics, or nonsense, measures nothing.
        {0, 0, 2048, 15, 0, 0},
        {1854, 434, 0, 15, 0, 0},
        {-5, 434, 2048, 15, 0, 0},
        {1854, 434, 2048, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const LineMetrics metrics = windows_line_metrics(c.ascent, c.descent, c.units, c.pixels);
        EXPECT_EQ(std::pair(metrics.ascent, metrics.descent),
                  std::pair(c.want_ascent, c.want_descent))
            << c.ascent << "+" << c.descent << "/" << c.units << " at " << c.pixels;
    }
}

TEST(FontFamilies, TheDialogFontIsMatchedAsArialAndArialTwinsAreKnown) {
    EXPECT_EQ(family_to_match("MS Sans Serif"), "Arial");
    EXPECT_EQ(family_to_match("ms sans serif"), "Arial");
    EXPECT_EQ(family_to_match("Arial"), "Arial");
    EXPECT_EQ(family_to_match("Courier New"), "Courier New");
    for (const char* twin : {"Arial", "Liberation Sans", "LIBERATION SANS", "Arimo"})
        EXPECT_TRUE(has_arial_metrics(twin)) << twin;
    for (const char* other : {"DejaVu Sans", "Liberation Sans Narrow", "Liberation", "", "Arial "})
        EXPECT_FALSE(has_arial_metrics(other)) << other;
}

TEST(TwipsToPixels, RoundsToTheNearestPixel) {
    const struct {
        double twips, twips_per_pixel;
        int pixels;
    } cases[] = {
        {1440, 15, 96}, {1440, 12, 120},
        {7.5, 15, 1},   {7.4, 15, 0},
        {-7.5, 15, -1}, {4815, 10, 482},
        {0, 15, 0},     {100, 0, 0},
        {100, -15, 0},  {std::numeric_limits<double>::quiet_NaN(), 15, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(twips_to_pixels(c.twips, c.twips_per_pixel), c.pixels)
            << c.twips << " twips at " << c.twips_per_pixel;
    EXPECT_GT(twips_to_pixels(1e300, 15), 1000000);
}

}  // namespace
}  // namespace tk
