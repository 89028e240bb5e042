// One line of an INI text as the settings file reads it. The reader and the writer share it,
// so the writer changes exactly the line the reader takes a value from.
#pragma once

#include <cstddef>
#include <string_view>

namespace vq::hack {

struct IniLine {
    enum class Kind {
        // Blank, a comment (';' or '#'), or a line that is neither a section nor an entry.
        Other,
        // "[Name]": opens a section. A '[' line without ']' closes the section before it,
        // so the entries after it belong to none.
        Section,
        BrokenSection,
        // "Key=value".
        Entry,
    };
    Kind kind = Kind::Other;
    // The section's or key's name, blanks around it dropped.
    std::string_view name;
    // The value, blanks around it dropped, and where it stands in the raw line.
    std::string_view value;
    std::size_t value_begin = 0;
    std::size_t value_end = 0;
};

// Reads one line, without its '\n'; a trailing CR counts as a blank.
IniLine ReadIniLine(std::string_view raw);

// Names of sections and keys match without regard to ASCII case.
bool SameIniName(std::string_view a, std::string_view b);

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace vq::hack
