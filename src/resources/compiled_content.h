// The compiled-in content as toolkit values, for the backends that keep pictures in memory
// (the headless one and X11): pictures as colours, strings, the icon and the version block.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "toolkit/services.h"
#include "toolkit/types.h"

namespace vq {

struct PictureColours {
    int width = 0;
    int height = 0;
    std::vector<tk::Color> pixels;  // top-down, row by row
};

// A picture by number, or nothing when no picture has it.
std::optional<PictureColours> CompiledPicture(tk::Int16 id);
PictureColours CompiledIcon();
std::optional<std::string> CompiledString(tk::Int16 id);
tk::VersionInfo CompiledVersion();

}  // namespace vq
