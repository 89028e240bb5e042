#include "resources/compiled_content.h"

#include "resources/content/film_records.h"
#include "resources/content/icon.h"
#include "resources/content/pictures.h"
#include "resources/content/version_values.h"

namespace vq {

std::optional<PictureColours> CompiledPicture(tk::Int16 id) {
    const auto image = content::make_picture(id);
    if (!image) return std::nullopt;
    PictureColours picture{image->width, image->height, {}};
    picture.pixels.reserve(image->pixels.size());
    for (auto grey : image->pixels) picture.pixels.push_back(tk::rgb(grey, grey, grey));
    return picture;
}

PictureColours CompiledIcon() {
    PictureColours icon{content::kIconSize, content::kIconSize, {}};
    for (auto index : content::icon_indices()) {
        const content::Rgb c = content::kIconPalette[index];
        icon.pixels.push_back(tk::rgb(c.r, c.g, c.b));
    }
    return icon;
}

std::optional<std::string> CompiledString(tk::Int16 id) {
    const auto text = content::film_string(id);
    if (!text) return std::nullopt;
    return std::string(*text);
}

tk::VersionInfo CompiledVersion() {
    const auto& v = content::kVersion;
    return {static_cast<tk::Int16>(v.major),    static_cast<tk::Int16>(v.minor),
            static_cast<tk::Int16>(v.revision), std::string(v.product_name),
            std::string(v.file_description),    std::string(v.company_name),
            std::string(v.legal_copyright),     std::string(v.comments)};
}

}  // namespace vq
