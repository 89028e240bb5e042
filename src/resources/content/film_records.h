// The ten film records: for record i (1..10) its still is picture 20 + i and its title,
// quotation, studio and year are strings 60 + i, 80 + i, 100 + i and 120 + i.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace vq::content {

struct FilmRecord {
    std::string_view title;
    std::string_view quotation;
    std::string_view studio;
    std::string_view year;
};

extern const std::array<FilmRecord, 10> kFilmRecords;

constexpr int kTitleBase = 60;
constexpr int kQuotationBase = 80;
constexpr int kStudioBase = 100;
constexpr int kYearBase = 120;

// The text of a string resource, or nothing when no string has that number.
std::optional<std::string_view> film_string(int id);

}  // namespace vq::content
