// The compiled-in content for the X11 backend: its pictures go to the server on first use.
#pragma once

#include "platform/linux/compiled_resources.h"
#include "platform/x11/x11_picture.h"

namespace x11 {

using X11Resources = vq::hack::CompiledResources<X11Picture>;

}  // namespace x11
