// What every configuration dialog shares: its font and its window frame.
#pragma once

#include <string>

#include "toolkit/form.h"
#include "toolkit/label.h"
#include "toolkit/types.h"

namespace vq {

inline const tk::Font kDialogFont{.name = "MS Sans Serif", .size = 8};

// A fixed-size dialog window of the given client size, placed by the window system.
inline tk::FormDesign dialog_design(std::string name, std::string caption, double client_width,
                                    double client_height) {
    return {.name = std::move(name),
            .caption = std::move(caption),
            .client_width = client_width,
            .client_height = client_height,
            .border = tk::BorderStyle::FixedDialog,
            .start_position = tk::StartPosition::WindowsDefault,
            .font = kDialogFont};
}

// A black label in the dialog font; its caption wraps within its width.
inline tk::LabelDesign dialog_label(std::string name, tk::Rect rect, std::string caption,
                                    tk::Frame* container = nullptr,
                                    tk::Alignment alignment = tk::Alignment::Left) {
    return {.name = std::move(name),
            .rect = rect,
            .caption = std::move(caption),
            .font = kDialogFont,
            .alignment = alignment,
            .word_wrap = true,
            .container = container};
}

}  // namespace vq
