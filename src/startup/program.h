// The running program: the module-level flag and the one instance of each window.
#pragma once

#include <memory>

#include "toolkit/toolkit.h"
#include "toolkit/types.h"

namespace vq {

class frmMainScreenSaver;

class Program {
public:
    explicit Program(tk::Toolkit& toolkit);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    tk::Toolkit& toolkit() const { return toolkit_; }

    // 1 only on the saver path; set before the saver window loads and never reset.
    tk::Int32 lngRunMode = 0;

    // The windows, created when first loaded. Null until then.
    frmMainScreenSaver* main_screen_saver() const { return main_screen_saver_.get(); }
    frmMainScreenSaver& load_main_screen_saver();

private:
    tk::Toolkit& toolkit_;
    std::unique_ptr<frmMainScreenSaver> main_screen_saver_;
};

}  // namespace vq
