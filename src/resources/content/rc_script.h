// The resource script that compiles the content into the executable.
#pragma once

#include <string>
#include <string_view>

namespace vq::content {

// File names, inside the output folder, of the files the script refers to.
std::string bitmap_file_name(int id);
inline constexpr std::string_view kIconImageFile = "icon30001.bin";
inline constexpr std::string_view kIconGroupFile = "icongroup1.bin";

// A text as a resource-script string literal: in quotes, with each quote doubled.
std::string rc_literal(std::string_view text);

// The script, naming the generated files in `folder` and the manifest at `manifest`.
std::string rc_script(std::string_view folder, std::string_view manifest);

}  // namespace vq::content
