// Captions laid out with Xft by the toolkit's text rules, as the Win32 backend's DrawText
// lays them out: access keys, line feeds, word wrap and line spacing.
#pragma once

#include "platform/x11/xlib.h"

// The toolkit's headers come before Xlib's, whose macros (None, Bool, Status) would
// otherwise rename their enumerators.

#include <string>
#include <string_view>
#include <vector>

#include "toolkit/text_rules.h"

namespace x11 {

using tk::TextLayout;
using tk::TextLine;

// wrap_px 0: lines break only at line feeds.
TextLayout lay_out_text(Display* display, XftFont* font, std::string_view caption, int wrap_px);

}  // namespace x11
