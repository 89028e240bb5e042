// The compiled-in content: the generated pictures and their file form, the film records,
// the icon resources, and the headless backend's lookups of all of them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "../pe/film_record_rules.h"
#include "platform/headless/headless_picture.h"
#include "platform/headless/headless_resources.h"
#include "resources/content/film_records.h"
#include "resources/content/icon.h"
#include "resources/content/pictures.h"
#include "resources/content/rc_script.h"

namespace {

namespace content = vq::content;
using Bytes = std::vector<std::uint8_t>;

std::uint32_t u32(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t u16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

content::GreyImage picture(int id) {
    return content::make_picture(id).value();
}

TEST(Content, PicturesAreNumbered21To45WithTheirExtremeSizes) {
    for (int id = 21; id <= 45; ++id) {
        const auto spec = content::picture_spec(id);
        ASSERT_TRUE(spec) << id;
        const auto image = picture(id);
        EXPECT_EQ(image.width, spec->width) << id;
        EXPECT_EQ(image.height, spec->height) << id;
        EXPECT_EQ(image.pixels.size(), static_cast<std::size_t>(spec->width) * spec->height) << id;
    }
    for (int id : {-1, 0, 20, 46, 30001}) {
        EXPECT_FALSE(content::picture_spec(id)) << id;
        EXPECT_FALSE(content::make_picture(id)) << id;
    }
    EXPECT_EQ(content::picture_spec(24)->width, 339);
    EXPECT_EQ(content::picture_spec(22)->height, 300);
    EXPECT_EQ(content::picture_spec(28)->height, 300);
    EXPECT_EQ(content::picture_spec(34)->width, 103);
    EXPECT_EQ(content::picture_spec(34)->height, 158);
    for (const auto& spec : content::kPictures) {
        EXPECT_LE(spec.width, 339);
        EXPECT_LE(spec.height, 300);
        EXPECT_GE(spec.width, 103);
    }
}

TEST(Content, EveryBmpFileHasTheGreyFormatAndHoldsItsPictureBottomUp) {
    for (const auto& spec : content::kPictures) {
        const auto image = picture(spec.id);
        const Bytes b = content::bmp_file(image, content::colour_counts(spec.id));
        const std::size_t stride = (spec.width + 3) / 4 * 4;
        const std::size_t offset = 14 + 40 + 1024;
        ASSERT_EQ(b.size(), offset + stride * spec.height) << spec.id;
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        EXPECT_EQ(u32(b, 2), b.size());
        EXPECT_EQ(u32(b, 10), offset);
        EXPECT_EQ(u32(b, 14), 40u);
        EXPECT_EQ(u32(b, 18), static_cast<std::uint32_t>(spec.width));
        EXPECT_EQ(u32(b, 22), static_cast<std::uint32_t>(spec.height));  // positive: bottom-up
        EXPECT_EQ(u16(b, 26), 1);
        EXPECT_EQ(u16(b, 28), 8);
        EXPECT_EQ(u32(b, 30), 0u);
        EXPECT_EQ(u32(b, 38), 0u);
        EXPECT_EQ(u32(b, 42), 0u);
        const std::uint32_t colours = spec.id >= 41 ? 256 : 0;
        EXPECT_EQ(u32(b, 46), colours) << spec.id;
        EXPECT_EQ(u32(b, 50), colours) << spec.id;
        for (std::uint32_t k = 0; k < 256; ++k) ASSERT_EQ(u32(b, 54 + 4 * k), k | k << 8 | k << 16);
        for (int y = 0; y < spec.height; ++y) {
            const std::size_t row = offset + (spec.height - 1 - y) * stride;
            for (int x = 0; x < spec.width; ++x) ASSERT_EQ(b[row + x], image.at(x, y)) << spec.id;
            for (std::size_t pad = spec.width; pad < stride; ++pad) ASSERT_EQ(b[row + pad], 0);
        }
    }
}

TEST(Content, OnlyTheFramedPortraitsHaveABlackFrameWithPictureJustInsideIt) {
    for (const auto& spec : content::kPictures) {
        const auto image = picture(spec.id);
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
    }
}

// Noise would differ wildly from pixel to pixel; a blank would have no contrast.
TEST(Content, PicturesAreSmoothCompositionsWithContrastNotNoise) {
    for (const auto& spec : content::kPictures) {
        const auto image = picture(spec.id);
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

// The Windows build's bitmaps are generated in another process: the recipe may not depend on
// anything but the picture's number.
TEST(Content, PicturesAreTheSameEveryTime) {
    for (int id : {21, 33, 41, 44}) EXPECT_EQ(picture(id).pixels, picture(id).pixels) << id;
}

TEST(Content, FilmRecordsKeepTheirLayout) {
    const auto lookup = [](int id) -> std::optional<std::string> {
        if (auto text = content::film_string(id)) return std::string(*text);
        return std::nullopt;
    };
    EXPECT_EQ(film_rules::faults(lookup), std::vector<std::string>{});
    EXPECT_EQ(*content::film_string(61), content::kFilmRecords[0].title);
    EXPECT_EQ(*content::film_string(130), content::kFilmRecords[9].year);
}

TEST(Content, TheLayoutRulesCatchABrokenRecord) {
    const auto broken = [](int id) -> std::optional<std::string> {
        if (id == 84) return "\"No speaker here & no closing quote";
        if (id == 102 || id == 105) return "Halvard Pictures";
        if (auto text = content::film_string(id)) return std::string(*text);
        return std::nullopt;
    };
    const auto faults = film_rules::faults(broken);
    EXPECT_EQ(faults.size(), 4u);  // the '&', the quotes, no speaker, four studios
}

TEST(Content, TheIconGroupNamesItsOneImageBySizeAndNumber) {
    const Bytes image = content::icon_image_resource();
    const Bytes group = content::icon_group_resource();
    ASSERT_EQ(group.size(), 20u);
    EXPECT_EQ(u16(group, 2), 1);  // an icon
    EXPECT_EQ(u16(group, 4), 1);  // one image
    EXPECT_EQ(group[6], 32);
    EXPECT_EQ(group[7], 32);
    EXPECT_EQ(group[8], 16);
    EXPECT_EQ(u16(group, 12), 4);
    EXPECT_EQ(u32(group, 14), image.size());
    EXPECT_EQ(u16(group, 18), 30001);
    EXPECT_EQ(u32(image, 4), 32u);
    EXPECT_EQ(u32(image, 8), 64u);
    EXPECT_EQ(u16(image, 14), 4);
}

TEST(Content, ResourceScriptDoublesQuotesAndKeepsTheIconNumbers) {
    EXPECT_EQ(content::rc_literal("KD: \"Hi\" "), "\"KD: \"\"Hi\"\" \"");
    const std::string rc = content::rc_script("/out", "/src/vqsaver.manifest");
    EXPECT_NE(rc.find("21 BITMAP \"/out/bitmap21.bmp\"\n"), std::string::npos);
    EXPECT_NE(rc.find("45 BITMAP \"/out/bitmap45.bmp\"\n"), std::string::npos);
    EXPECT_NE(rc.find("30001 3 \"/out/icon30001.bin\"\n"), std::string::npos);
    EXPECT_NE(rc.find("1 14 \"/out/icongroup1.bin\"\n"), std::string::npos);
    EXPECT_NE(rc.find("1 24 \"/src/vqsaver.manifest\"\n"), std::string::npos);
}

TEST(HeadlessContent, BitmapsAreTheGeneratedPicturesInGrey) {
    headless::HeadlessResources resources;
    for (int id : {21, 34, 41}) {
        const auto loaded = resources.load_bitmap(static_cast<tk::Int16>(id));
        ASSERT_TRUE(loaded) << id;
        const auto& source = static_cast<const headless::HeadlessPicture&>(*loaded);
        const auto image = picture(id);
        ASSERT_EQ(source.width_px(), image.width);
        ASSERT_EQ(source.height_px(), image.height);
        for (int y = 0; y < image.height; y += 7)
            for (int x = 0; x < image.width; x += 5) {
                const int g = image.at(x, y);
                ASSERT_EQ(source.pixel(x, y), tk::rgb(g, g, g)) << id;
            }
    }
}

TEST(HeadlessContent, NumbersThatNameNothingGiveNothing) {
    headless::HeadlessResources resources;
    for (tk::Int16 id : {-32768, -1, 0, 1, 20, 46, 61, 32767})
        EXPECT_EQ(resources.load_bitmap(id), nullptr) << id;
    for (tk::Int16 id : {-32768, -1, 0, 21, 60, 71, 80, 91, 100, 111, 120, 131, 32767})
        EXPECT_FALSE(resources.load_string(id)) << id;
}

TEST(HeadlessContent, StringsIconAndVersionAreTheCompiledInOnes) {
    headless::HeadlessResources resources;
    EXPECT_EQ(resources.load_string(61), "The Borrowed Hat");
    EXPECT_EQ(resources.load_string(90), std::string(content::kFilmRecords[9].quotation));
    EXPECT_EQ(resources.load_string(110), "Kestrel Arts");
    EXPECT_EQ(resources.load_string(121), "1962");

    const auto icon = resources.load_icon();
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->width_px(), 32);
    EXPECT_EQ(icon->height_px(), 32);
    const auto& face = static_cast<const headless::HeadlessPicture&>(*icon);
    EXPECT_EQ(face.pixel(0, 0), tk::kBlack);    // the film strip
    EXPECT_EQ(face.pixel(16, 15), tk::kWhite);  // the face
    EXPECT_EQ(face.pixel(13, 12), tk::kBlack);  // an eye

    const tk::VersionInfo v = resources.version();
    EXPECT_EQ(v.major, 1);
    EXPECT_EQ(v.minor, 2);
    EXPECT_EQ(v.revision, 0);
    EXPECT_EQ(v.product_name, "The Vovozevu Velmarr ScreenSaver");
    EXPECT_EQ(v.file_description, "Three screen savers in one for the ultimate Velmarr fan!");
    EXPECT_FALSE(v.company_name.empty());
    EXPECT_FALSE(v.legal_copyright.empty());
    EXPECT_NE(v.comments.find('@'), std::string::npos);
}

}  // namespace
