#include "platform/headless/headless_resources.h"

#include <map>

#include "platform/headless/headless_picture.h"
#include "resources/content/film_records.h"
#include "resources/content/icon.h"
#include "resources/content/pictures.h"
#include "resources/content/version_values.h"

namespace headless {

namespace content = vq::content;

tk::PicturePtr HeadlessResources::load_bitmap(tk::Int16 id) {
    // Painting a picture from its recipe costs far more than a mode's tick, and the result
    // never changes, so each one is painted once per process and then shared.
    static std::map<tk::Int16, tk::PicturePtr> painted;
    if (const auto found = painted.find(id); found != painted.end()) return found->second;
    tk::PicturePtr picture;
    if (const auto image = content::make_picture(id)) {
        std::vector<tk::Color> pixels;
        pixels.reserve(image->pixels.size());
        for (auto grey : image->pixels) pixels.push_back(tk::rgb(grey, grey, grey));
        picture = std::make_shared<HeadlessPicture>(image->width, image->height, std::move(pixels));
    }
    painted.emplace(id, picture);
    return picture;
}

std::optional<std::string> HeadlessResources::load_string(tk::Int16 id) {
    const auto text = content::film_string(id);
    if (!text) return std::nullopt;
    return std::string(*text);
}

tk::PicturePtr HeadlessResources::load_icon() {
    std::vector<tk::Color> pixels;
    for (auto index : content::icon_indices()) {
        const content::Rgb c = content::kIconPalette[index];
        pixels.push_back(tk::rgb(c.r, c.g, c.b));
    }
    return std::make_shared<HeadlessPicture>(content::kIconSize, content::kIconSize,
                                             std::move(pixels));
}

tk::VersionInfo HeadlessResources::version() {
    const auto& v = content::kVersion;
    return {static_cast<tk::Int16>(v.major),    static_cast<tk::Int16>(v.minor),
            static_cast<tk::Int16>(v.revision), std::string(v.product_name),
            std::string(v.file_description),    std::string(v.company_name),
            std::string(v.legal_copyright),     std::string(v.comments)};
}

}  // namespace headless
