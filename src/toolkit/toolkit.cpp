#include "toolkit/toolkit.h"

#include <cstdio>
#include <string>

namespace tk {

void Toolkit::message_box(std::string_view title, std::string_view text) {
    const std::string line = std::string(title) + ": " + std::string(text) + "\n";
    std::fputs(line.c_str(), stderr);
}

void Toolkit::form_loaded(Form&) { ++loaded_forms_; }

void Toolkit::form_unloaded(Form&) {
    if (--loaded_forms_ == 0) last_form_unloaded();
}

}  // namespace tk
