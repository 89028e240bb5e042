// The platform services the program uses besides windows: settings, resources, random
// numbers and the screen.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/picture.h"
#include "toolkit/types.h"

namespace tk {

// Per-user persistent text values by application, section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or nothing when no text value is stored under the key.
    virtual std::optional<std::string> get(std::string_view app, std::string_view section,
                                           std::string_view key) = 0;
    virtual void set(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) = 0;
};

// The program's version block.
struct VersionInfo {
    Int16 major = 0;
    Int16 minor = 0;
    Int16 revision = 0;
    std::string product_name;
    std::string file_description;
    std::string company_name;
    std::string legal_copyright;
    std::string comments;
};

// Compiled-in content looked up by number.
class Resources {
public:
    virtual ~Resources() = default;
    // A bitmap resource, or null when no bitmap has that number.
    virtual PicturePtr load_bitmap(Int16 id) = 0;
    // A string resource, or nothing when no string has that number.
    virtual std::optional<std::string> load_string(Int16 id) = 0;
    // The program's icon.
    virtual PicturePtr load_icon() = 0;
    virtual VersionInfo version() = 0;
};

// The program's one random-number generator.
class Random {
public:
    virtual ~Random() = default;
    // A value uniform in [0, 1).
    virtual double draw() = 0;
    // Seed the generator anew from the system clock.
    virtual void reseed() = 0;
};

// One display monitor, in pixels of the virtual screen.
struct Monitor {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool primary = false;
};

// The primary screen; sizes in twips convert with the display's real DPI.
struct Screen {
    int width_px = 800;
    int height_px = 600;
    int dpi = 96;

    double twips_per_pixel() const { return 1440.0 / dpi; }
    double width_twips() const { return width_px * twips_per_pixel(); }
    double height_twips() const { return height_px * twips_per_pixel(); }
};

}  // namespace tk
