// The program's text is UTF-8; Win32 takes UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace win32
