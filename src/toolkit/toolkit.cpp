#include "toolkit/toolkit.h"

namespace tk {

void Toolkit::form_loaded(Form&) { ++loaded_forms_; }

void Toolkit::form_unloaded(Form&) {
    if (--loaded_forms_ == 0) last_form_unloaded();
}

}  // namespace tk
