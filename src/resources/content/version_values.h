// The program's version block: numbers and texts, as compiled into the executable.
#pragma once

#include <array>
#include <string_view>
#include <utility>

namespace vq::content {

struct VersionValues {
    int major, minor, revision, build;
    std::string_view file_version;
    std::string_view product_version;
    std::string_view product_name;
    std::string_view file_description;
    std::string_view internal_name;
    std::string_view original_filename;
    std::string_view company_name;
    std::string_view legal_copyright;
    std::string_view comments;
};

inline constexpr VersionValues kVersion = {
    1,
    2,
    0,
    0,
    "1.02",
    "1.02",
    "The Vovozevu Velmarr ScreenSaver",
    "Three screen savers in one for the ultimate Velmarr fan!",
    "VQSaver",
    "VQSaver.scr",
    "Tobin Akersley",
    "Copyright (C) 2026 Tobin Akersley",
    "The pictures and film records are stand-ins drawn for this program. "
    "Questions and corrections: tobin.akersley@example.org",
};

// The version block's texts by the names Windows gives them, in the block's order.
inline constexpr std::array<std::pair<std::string_view, std::string_view>, 9> version_texts(
    const VersionValues& v) {
    return {{{"Comments", v.comments},
             {"CompanyName", v.company_name},
             {"FileDescription", v.file_description},
             {"FileVersion", v.file_version},
             {"InternalName", v.internal_name},
             {"LegalCopyright", v.legal_copyright},
             {"OriginalFilename", v.original_filename},
             {"ProductName", v.product_name},
             {"ProductVersion", v.product_version}}};
}

// The version block's language and code page: US English, Unicode.
inline constexpr int kVersionLanguage = 0x0409;
inline constexpr int kVersionCodePage = 0x04B0;
inline constexpr std::string_view kVersionStringBlock = "040904B0";

}  // namespace vq::content
