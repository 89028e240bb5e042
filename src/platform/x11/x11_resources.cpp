#include "platform/x11/x11_resources.h"

#include "platform/x11/x11_picture.h"
#include "resources/content/film_records.h"
#include "resources/content/icon.h"
#include "resources/content/pictures.h"
#include "resources/content/version_values.h"
#include "toolkit/types.h"

namespace x11 {

namespace content = vq::content;

tk::PicturePtr X11Resources::load_bitmap(tk::Int16 id) {
    if (const auto found = painted_.find(id); found != painted_.end()) return found->second;
    tk::PicturePtr picture;
    if (const auto image = content::make_picture(id)) {
        std::vector<std::uint32_t> pixels;
        pixels.reserve(image->pixels.size());
        for (auto grey : image->pixels) pixels.push_back(tk::rgb(grey, grey, grey));
        picture = std::make_shared<X11Picture>(image->width, image->height, std::move(pixels));
    }
    painted_.emplace(id, picture);
    return picture;
}

std::optional<std::string> X11Resources::load_string(tk::Int16 id) {
    const auto text = content::film_string(id);
    if (!text) return std::nullopt;
    return std::string(*text);
}

tk::PicturePtr X11Resources::load_icon() {
    if (icon_) return icon_;
    std::vector<std::uint32_t> pixels;
    for (auto index : content::icon_indices()) {
        const content::Rgb c = content::kIconPalette[index];
        pixels.push_back(tk::rgb(c.r, c.g, c.b));
    }
    icon_ = std::make_shared<X11Picture>(content::kIconSize, content::kIconSize, std::move(pixels));
    return icon_;
}

tk::VersionInfo X11Resources::version() {
    const auto& v = content::kVersion;
    return {static_cast<tk::Int16>(v.major),    static_cast<tk::Int16>(v.minor),
            static_cast<tk::Int16>(v.revision), std::string(v.product_name),
            std::string(v.file_description),    std::string(v.company_name),
            std::string(v.legal_copyright),     std::string(v.comments)};
}

}  // namespace x11
