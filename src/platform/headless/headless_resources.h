// The compiled-in content for the headless backend, made from the same recipe and tables
// that the Windows build compiles into its resources.
#pragma once

#include "toolkit/services.h"

namespace headless {

class HeadlessResources : public tk::Resources {
  public:
    tk::PicturePtr load_bitmap(tk::Int16 id) override;
    std::optional<std::string> load_string(tk::Int16 id) override;
    tk::PicturePtr load_icon() override;
    tk::VersionInfo version() override;
};

}  // namespace headless
