// The running program: the module-level flag and the one instance of each window.
#pragma once

#include <memory>

#include "toolkit/toolkit.h"
#include "toolkit/types.h"

namespace vq {

class frmMainScreenSaver;
class frmConfig;
class frmDrifterConfig;
class frmStillQuoteConfig;
class frmFlasherConfig;
class frmAbout;

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
    frmConfig* config() const { return config_.get(); }
    frmConfig& load_config();
    // The options dialogs and the About box are loaded afresh each time they are opened:
    // a dialog that was unloaded is replaced by a new one.
    frmDrifterConfig* drifter_config() const { return drifter_config_.get(); }
    frmDrifterConfig& load_drifter_config();
    frmStillQuoteConfig* still_quote_config() const { return still_quote_config_.get(); }
    frmStillQuoteConfig& load_still_quote_config();
    frmFlasherConfig* flasher_config() const { return flasher_config_.get(); }
    frmFlasherConfig& load_flasher_config();
    frmAbout* about() const { return about_.get(); }
    frmAbout& load_about();

private:
    tk::Toolkit& toolkit_;
    std::unique_ptr<frmMainScreenSaver> main_screen_saver_;
    std::unique_ptr<frmConfig> config_;
    std::unique_ptr<frmDrifterConfig> drifter_config_;
    std::unique_ptr<frmStillQuoteConfig> still_quote_config_;
    std::unique_ptr<frmFlasherConfig> flasher_config_;
    std::unique_ptr<frmAbout> about_;
};

}  // namespace vq
