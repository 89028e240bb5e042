// The compiled-in content: the generated pictures, the rules the film records are held to,
// and the headless backend's lookups. The records themselves, and the Windows resources made
// from the content, are checked in the built executables (tests/pe).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "film_record_rules.h"
#include "platform/headless/headless_resources.h"
#include "resources/content/film_records.h"
#include "resources/content/pictures.h"

namespace {

namespace content = vq::content;

TEST(Content, PicturesAreSmoothWithContrastAndOnlyTheFramedPortraitsHaveAFrame) {
    for (const auto& spec : content::kPictures) {
        const content::GreyImage image = content::make_picture(spec.id).value();
        const bool framed = spec.id >= 41;
        const auto on_edge = [&](int x, int y) {
            return x == 0 || y == 0 || x == spec.width - 1 || y == spec.height - 1;
        };
        // A one-pixel frame: the edges black, the ring inside them never black.
        const auto on_ring = [&](int x, int y) {
            return !on_edge(x, y) &&
                   (x == 1 || y == 1 || x == spec.width - 2 || y == spec.height - 2);
        };
        for (int y = 0; y < spec.height; ++y)
            for (int x = 0; x < spec.width; ++x) {
                if (on_edge(x, y)) {
                    ASSERT_EQ(image.at(x, y) == 0, framed) << spec.id << " " << x << "," << y;
                }
                if (on_ring(x, y)) {
                    ASSERT_NE(image.at(x, y), 0) << spec.id << " " << x << "," << y;
                }
            }
        // Noise would differ wildly from pixel to pixel; a blank would have no contrast.
        double sum = 0, squares = 0, steps = 0;
        for (int y = 1; y < spec.height - 1; ++y)
            for (int x = 1; x < spec.width - 1; ++x) {
                const double v = image.at(x, y);
                sum += v;
                squares += v * v;
                steps += std::abs(v - image.at(x + 1, y));
            }
        const double n = (spec.width - 2.0) * (spec.height - 2.0);
        const double deviation = std::sqrt(squares / n - (sum / n) * (sum / n));
        EXPECT_GT(deviation, 25) << spec.id;
        EXPECT_LT(steps / n, 12) << spec.id;
    }
}

TEST(Content, FilmRecordsKeepTheirLayoutAndItsRulesCatchABrokenRecord) {
    const auto records = [](int id) -> std::optional<std::string> {
        if (auto text = content::film_string(id)) return std::string(*text);
        return std::nullopt;
    };
    EXPECT_EQ(film_rules::faults(records), std::vector<std::string>{});
    const auto broken = [&](int id) -> std::optional<std::string> {
        if (id == 84) return "\"No speaker here & no closing quote";
        if (id == 102 || id == 105) return "Halvard Pictures";
        return records(id);
    };
    EXPECT_EQ(film_rules::faults(broken).size(),
              4u);  // the '&', the quotes, no speaker, four studios
}

// The version's values are the About box's and the icon's size its picture's (the
// configuration and DPI tests read them there).
TEST(HeadlessContent, StringsAreTheCompiledInOnesAndNumbersThatNameNothingGiveNothing) {
    headless::HeadlessResources resources;
    EXPECT_EQ(resources.load_string(61), "The Borrowed Hat");
    EXPECT_EQ(resources.load_string(90), std::string(content::kFilmRecords[9].quotation));
    EXPECT_EQ(resources.load_string(110), "Kestrel Arts");
    EXPECT_EQ(resources.load_string(121), "1962");
    for (tk::Int16 id : {-32768, -1, 0, 1, 20, 46, 61, 32767})
        EXPECT_EQ(resources.load_bitmap(id), nullptr) << id;
    for (tk::Int16 id : {-32768, -1, 0, 21, 60, 71, 80, 91, 100, 111, 120, 131, 32767})
        EXPECT_FALSE(resources.load_string(id)) << id;
}

}  // namespace
