#include "toolkit/toolkit.h"

#include <iostream>

namespace tk {

void Toolkit::message_box(std::string_view title, std::string_view text) {
    std::cerr << title << ": " << text << '\n';
}

void Toolkit::form_loaded(Form&) { ++loaded_forms_; }

void Toolkit::form_unloaded(Form&) {
    if (--loaded_forms_ == 0) last_form_unloaded();
}

}  // namespace tk
