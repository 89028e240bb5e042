// The start-up switch: the first two characters of the argument text after trimming spaces
// and lower-casing ("/s", "/c", "" or anything else).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vq {

std::string ReduceSwitch(std::string_view argument_text);
// The window handle a preview request carries after its switch ("/p 1234", "/p:1234"): a
// decimal number; nothing when the text holds none or anything else.
std::optional<std::uint64_t> PreviewWindowHandle(std::string_view argument_text);

}  // namespace vq
