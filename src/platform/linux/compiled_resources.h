// The compiled-in content for a Linux backend, in that backend's picture type (made from
// colours: PictureType(width, height, pixels)), from the same recipe and tables that the
// Windows build compiles into its resources.
#pragma once

#include <map>
#include <memory>

#include "resources/compiled_content.h"
#include "toolkit/services.h"

namespace vq::hack {

template <typename PictureType>
class CompiledResources : public tk::Resources {
  public:
    tk::PicturePtr load_bitmap(tk::Int16 id) override {
        if (const auto found = painted_.find(id); found != painted_.end()) return found->second;
        tk::PicturePtr picture;
        if (auto colours = vq::CompiledPicture(id))
            picture = std::make_shared<PictureType>(colours->width, colours->height,
                                                    std::move(colours->pixels));
        painted_.emplace(id, picture);
        return picture;
    }
    std::optional<std::string> load_string(tk::Int16 id) override { return vq::CompiledString(id); }
    tk::PicturePtr load_icon() override {
        if (icon_) return icon_;
        vq::PictureColours icon = vq::CompiledIcon();
        icon_ = std::make_shared<PictureType>(icon.width, icon.height, std::move(icon.pixels));
        return icon_;
    }
    tk::VersionInfo version() override { return vq::CompiledVersion(); }

    // Every picture made so far.
    template <typename Visit>
    void for_each_picture(Visit&& visit) const {
        for (const auto& [id, picture] : painted_)
            if (picture) visit(*picture);
        if (icon_) visit(*icon_);
    }

  private:
    // Painting a picture from its recipe costs far more than a tick, and the result never
    // changes: each is painted once per run and shared.
    std::map<tk::Int16, tk::PicturePtr> painted_;
    tk::PicturePtr icon_;
};

}  // namespace vq::hack
