#include "platform/x11/x11_resources.h"

#include "platform/x11/x11_picture.h"
#include "resources/compiled_content.h"

namespace x11 {

tk::PicturePtr X11Resources::load_bitmap(tk::Int16 id) {
    if (const auto found = painted_.find(id); found != painted_.end()) return found->second;
    tk::PicturePtr picture;
    if (auto colours = vq::CompiledPicture(id))
        picture = std::make_shared<X11Picture>(colours->width, colours->height,
                                               std::move(colours->pixels));
    painted_.emplace(id, picture);
    return picture;
}

std::optional<std::string> X11Resources::load_string(tk::Int16 id) {
    return vq::CompiledString(id);
}

tk::PicturePtr X11Resources::load_icon() {
    if (icon_) return icon_;
    vq::PictureColours icon = vq::CompiledIcon();
    icon_ = std::make_shared<X11Picture>(icon.width, icon.height, std::move(icon.pixels));
    return icon_;
}

tk::VersionInfo X11Resources::version() {
    return vq::CompiledVersion();
}

}  // namespace x11
