#include "startup/program.h"

#include "saver/frm_main_screen_saver.h"

namespace vq {

Program::Program(tk::Toolkit& toolkit) : toolkit_(toolkit) {}

Program::~Program() = default;

frmMainScreenSaver& Program::load_main_screen_saver() {
    if (main_screen_saver_ == nullptr)
        main_screen_saver_ = std::make_unique<frmMainScreenSaver>(*this);
    main_screen_saver_->load();
    return *main_screen_saver_;
}

}  // namespace vq
