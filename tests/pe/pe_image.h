// A Windows executable's headers, imported DLLs and resources, read straight from the file.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pe {

struct Resource {
    std::uint16_t language = 0;
    std::vector<std::uint8_t> data;
};

struct Image {
    bool pe32_plus = false;  // 64-bit image
    std::uint16_t machine = 0;
    std::uint16_t subsystem = 0;       // 2 = Windows GUI
    std::vector<std::string> imports;  // DLL names as stored
    // Resources with numeric type and name: type -> name -> every language's entry.
    std::map<std::uint16_t, std::map<std::uint16_t, std::vector<Resource>>> resources;
    // Resources named or typed by text, which this program never has.
    int named_resources = 0;
};

// The parsed file, or nothing with `error` saying why.
std::optional<Image> read_image(const std::string& path, std::string& error);

}  // namespace pe
