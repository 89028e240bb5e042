// The start-up switch: the first two characters of the argument text after trimming spaces
// and lower-casing ("/s", "/c", "" or anything else).
#pragma once

#include <string>
#include <string_view>

namespace vq {

std::string ReduceSwitch(std::string_view argument_text);

}  // namespace vq
