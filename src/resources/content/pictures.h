// The 25 pictures: film stills 21..30, portraits 31..40 and framed portraits 41..45, each
// drawn by one deterministic recipe at its fixed size.
#pragma once

#include <array>
#include <optional>

#include "resources/content/grey_image.h"

namespace vq::content {

struct PictureSpec {
    int id;
    int width;
    int height;
};

constexpr int kFirstPicture = 21;
constexpr int kLastPicture = 45;
constexpr int kFirstPortrait = 31;
constexpr int kFirstFramed = 41;

constexpr std::array<PictureSpec, 25> kPictures = {{
    {21, 240, 294}, {22, 226, 300}, {23, 306, 236}, {24, 339, 250}, {25, 203, 250},
    {26, 217, 270}, {27, 318, 250}, {28, 223, 300}, {29, 286, 250}, {30, 321, 250},
    {31, 126, 182}, {32, 121, 150}, {33, 160, 182}, {34, 103, 158}, {35, 164, 200},
    {36, 121, 165}, {37, 138, 250}, {38, 201, 244}, {39, 194, 234}, {40, 109, 162},
    {41, 111, 145}, {42, 118, 152}, {43, 124, 152}, {44, 115, 152}, {45, 117, 152},
}};

// The entry for a picture number, or nothing when no picture has that number.
std::optional<PictureSpec> picture_spec(int id);

// Framed portraits carry a one-pixel pure-black frame and say "256" in their colour counts.
constexpr bool is_framed(int id) {
    return id >= kFirstFramed && id <= kLastPicture;
}
constexpr ColourCounts colour_counts(int id) {
    return is_framed(id) ? ColourCounts::Explicit256 : ColourCounts::Implicit;
}

// The picture with that number, or nothing when no picture has it.
std::optional<GreyImage> make_picture(int id);

}  // namespace vq::content
