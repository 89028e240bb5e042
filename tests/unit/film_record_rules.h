// The layout every set of film-record strings keeps, as a list of the faults found: used on
// the generator's table and on the strings compiled into an executable.
#pragma once

#include <algorithm>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace film_rules {

using Lookup = std::function<std::optional<std::string>(int id)>;

inline bool plain_text(const std::string& s) {
    return std::ranges::all_of(s, [](char c) { return c >= 0x20 && c <= 0x7E && c != '&'; });
}

// A quotation in its own double quotes, or "XY: " before them and a blank after.
inline bool quoted(const std::string& s, bool& with_speaker) {
    with_speaker = s.size() > 4 && s[0] >= 'A' && s[0] <= 'Z' && s[1] >= 'A' && s[1] <= 'Z' &&
                   s.compare(2, 3, ": \"") == 0;
    const std::string words = with_speaker ? s.substr(4, s.size() - 5) : s;
    if (with_speaker && s.back() != ' ') return false;
    return words.size() >= 2 && words.front() == '"' && words.back() == '"';
}

inline std::vector<std::string> faults(const Lookup& lookup) {
    std::vector<std::string> found;
    const auto fault = [&](int id, const std::string& what) {
        found.push_back("string " + std::to_string(id) + ": " + what);
    };
    std::set<std::string> studios;
    int with_speaker_count = 0;
    for (int i = 1; i <= 10; ++i) {
        const auto title = lookup(60 + i), quote = lookup(80 + i), studio = lookup(100 + i),
                   year = lookup(120 + i);
        if (!title || !quote || !studio || !year) {
            fault(60 + i, "record " + std::to_string(i) + " is incomplete");
            continue;
        }
        for (const auto& [id, text] :
             {std::pair{60 + i, *title}, {80 + i, *quote}, {100 + i, *studio}, {120 + i, *year}})
            if (!plain_text(text)) fault(id, "not plain printable ASCII without '&'");
        if (title->size() < 7 || title->size() > 20) fault(60 + i, "title not 7-20 characters");
        if (quote->size() < 22 || quote->size() > 78)
            fault(80 + i, "quotation not 22-78 characters");
        bool with_speaker = false;
        if (!quoted(*quote, with_speaker)) fault(80 + i, "quotation not in its own double quotes");
        with_speaker_count += with_speaker;
        if (studio->size() < 3 || studio->size() > 16) fault(100 + i, "studio not 3-16 characters");
        studios.insert(*studio);
        if (year->size() != 4 || year->find_first_not_of("0123456789") != std::string::npos)
            fault(120 + i, "year not four digits");
    }
    if (with_speaker_count != 1)
        found.push_back(std::to_string(with_speaker_count) +
                        " quotations begin with a speaker, not 1");
    if (studios.size() != 5)
        found.push_back(std::to_string(studios.size()) + " different studios, not 5");
    return found;
}

}  // namespace film_rules
