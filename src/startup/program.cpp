#include "startup/program.h"

#include "config/frm_about.h"
#include "config/frm_config.h"
#include "config/frm_drifter_config.h"
#include "config/frm_flasher_config.h"
#include "config/frm_still_quote_config.h"
#include "saver/frm_main_screen_saver.h"

namespace vq {
namespace {

// A form object loads once; one that has been unloaded gives way to a fresh one. The old
// one is never on the call stack here: its own handlers ended when it unloaded.
template <typename Form>
Form& load_fresh(std::unique_ptr<Form>& slot, Program& program) {
    if (slot == nullptr || (slot->peer() != nullptr && !slot->loaded()))
        slot = std::make_unique<Form>(program);
    slot->load();
    return *slot;
}

}  // namespace

Program::Program(tk::Toolkit& toolkit) : toolkit_(toolkit) {}

// The forms go before the toolkit they were made with.
Program::~Program() = default;

frmMainScreenSaver& Program::load_main_screen_saver() {
    if (main_screen_saver_ == nullptr)
        main_screen_saver_ = std::make_unique<frmMainScreenSaver>(*this);
    main_screen_saver_->load();
    return *main_screen_saver_;
}

frmConfig& Program::load_config() {
    if (config_ == nullptr) config_ = std::make_unique<frmConfig>(*this);
    config_->load();
    return *config_;
}

frmDrifterConfig& Program::load_drifter_config() { return load_fresh(drifter_config_, *this); }

frmStillQuoteConfig& Program::load_still_quote_config() {
    return load_fresh(still_quote_config_, *this);
}

frmFlasherConfig& Program::load_flasher_config() { return load_fresh(flasher_config_, *this); }

frmAbout& Program::load_about() { return load_fresh(about_, *this); }

}  // namespace vq
