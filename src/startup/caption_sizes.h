// The program's captions as a backend measures them, for comparing backends: every caption
// of the dialogs and the About box, the Still & Quote texts and a few access-key marks, at
// 96, 120, 144 and 192 dpi.
#pragma once

#include <string>

namespace vq {

class Program;

// One line per caption and DPI: "<form>.<control>[(index)][#n] <dpi> <width> <height> <wrap>",
// in pixels; wrap is the width the text wraps in, 0 for none.
// Loads each dialog (hidden) to read its captions; unloads none of them.
std::string CaptionSizes(Program& program);

}  // namespace vq
