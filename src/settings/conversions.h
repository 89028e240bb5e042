// Conversions from stored setting text to numbers and truth values. A text converts when it
// is a plain decimal number: optional spaces, an optional sign, digits with an optional
// fraction and exponent, optional spaces. Whole-number conversions round halves to the even
// neighbour and fail outside their range; nothing here throws.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "toolkit/types.h"

namespace vq {

// The nearest whole number, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
double RoundHalfEven(double value);

std::optional<double> ToDouble(std::string_view text);
std::optional<tk::Int16> ToInt16(std::string_view text);
std::optional<tk::Int32> ToInt32(std::string_view text);
// Numeric text: nonzero is true. The words True and False (any case) convert too.
std::optional<bool> ToTruth(std::string_view text);

// Whole numbers as the store holds them: "-5", "0", "5000".
std::string FormatInt16(tk::Int16 value);

}  // namespace vq
