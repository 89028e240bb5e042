#include "platform/headless/headless_resources.h"

#include <map>

#include "platform/headless/headless_picture.h"
#include "resources/compiled_content.h"

namespace headless {

tk::PicturePtr HeadlessResources::load_bitmap(tk::Int16 id) {
    // Painting a picture from its recipe costs far more than a mode's tick, and the result
    // never changes, so each one is painted once per process and then shared.
    static std::map<tk::Int16, tk::PicturePtr> painted;
    if (const auto found = painted.find(id); found != painted.end()) return found->second;
    tk::PicturePtr picture;
    if (auto colours = vq::CompiledPicture(id))
        picture = std::make_shared<HeadlessPicture>(colours->width, colours->height,
                                                    std::move(colours->pixels));
    painted.emplace(id, picture);
    return picture;
}

std::optional<std::string> HeadlessResources::load_string(tk::Int16 id) {
    return vq::CompiledString(id);
}

tk::PicturePtr HeadlessResources::load_icon() {
    vq::PictureColours icon = vq::CompiledIcon();
    return std::make_shared<HeadlessPicture>(icon.width, icon.height, std::move(icon.pixels));
}

tk::VersionInfo HeadlessResources::version() {
    return vq::CompiledVersion();
}

}  // namespace headless
