// The compiled-in content for the X11 backend, made from the same recipe and tables that
// the Windows build compiles into its resources and the headless backend reads.
#pragma once

#include <map>

#include "toolkit/services.h"

namespace x11 {

class X11Resources : public tk::Resources {
  public:
    tk::PicturePtr load_bitmap(tk::Int16 id) override;
    std::optional<std::string> load_string(tk::Int16 id) override;
    tk::PicturePtr load_icon() override;
    tk::VersionInfo version() override;

    // Every picture made so far, for the toolkit to free their pixmaps.
    template <typename Visit>
    void for_each_picture(Visit&& visit) const {
        for (const auto& [id, picture] : painted_)
            if (picture) visit(*picture);
        if (icon_) visit(*icon_);
    }

  private:
    // Painting a picture from its recipe costs far more than a tick, and the result never
    // changes: each is painted once per run and shared, as the Win32 backend shares them.
    std::map<tk::Int16, tk::PicturePtr> painted_;
    tk::PicturePtr icon_;
};

}  // namespace x11
