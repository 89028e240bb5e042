#include "resources/content/film_records.h"

namespace vq::content {

const std::array<FilmRecord, 10> kFilmRecords = {{
    {"The Borrowed Hat", "\"Never trust a man who owns two umbrellas.\"", "Halvard Pictures",
     "1962"},
    {"Night Train East", "\"The last train leaves at midnight, with or without you.\"",
     "Marrow Films", "1964"},
    {"Salt and Silver", "\"I came for the sea air and stayed for the trouble.\"",
     "Halvard Pictures", "1965"},
    {"A Quiet Lantern", "KD: \"You always did like the dark, didn't you?\" ", "Orrin Studio",
     "1967"},
    {"The Glass Orchard", "\"Every tree in this orchard keeps a secret.\"", "Marrow Films", "1968"},
    {"Captain Fennick", "\"Hoist the sails, and somebody mind the cat.\"", "Bellweather", "1970"},
    {"Winter Ledger", "\"Numbers never lie, but accountants do.\"", "Orrin Studio", "1972"},
    {"Seven Lamps", "\"Light one lamp for every lie you have told.\"", "Kestrel Arts", "1975"},
    {"Harbour Fog", "\"Fog hides nothing from a patient man.\"", "Bellweather", "1977"},
    {"Curtain Call", "\"Take a bow, darling; tonight the house is yours.\"", "Kestrel Arts",
     "1981"},
}};

std::optional<std::string_view> film_string(int id) {
    const auto field = [id](int base) -> std::optional<std::size_t> {
        if (id > base && id <= base + static_cast<int>(kFilmRecords.size()))
            return static_cast<std::size_t>(id - base - 1);
        return std::nullopt;
    };
    if (auto i = field(kTitleBase)) return kFilmRecords[*i].title;
    if (auto i = field(kQuotationBase)) return kFilmRecords[*i].quotation;
    if (auto i = field(kStudioBase)) return kFilmRecords[*i].studio;
    if (auto i = field(kYearBase)) return kFilmRecords[*i].year;
    return std::nullopt;
}

}  // namespace vq::content
