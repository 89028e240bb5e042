// The compiled-in content, looked up in the module's own resources.
#pragma once

#include <windows.h>

#include <map>

#include "toolkit/services.h"

namespace win32 {

class Win32Resources : public tk::Resources {
  public:
    explicit Win32Resources(HINSTANCE instance) : instance_(instance) {}

    tk::PicturePtr load_bitmap(tk::Int16 id) override;
    std::optional<std::string> load_string(tk::Int16 id) override;
    tk::PicturePtr load_icon() override;
    // Read from the module's file; on any failure the values stay empty and zero.
    tk::VersionInfo version() override;

  private:
    HINSTANCE instance_;
    std::map<tk::Int16, tk::PicturePtr> bitmaps_;
};

}  // namespace win32
