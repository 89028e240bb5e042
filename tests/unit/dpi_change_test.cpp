// A dialog dragged to a monitor of another scale: the platform reports the new DPI and the
// dialog is laid out again from its twips at that DPI, every control told to follow, its
// pictures at their own pixel size.
#include <vector>

#include "config/frm_about.h"
#include "config/frm_config.h"
#include "config/frm_drifter_config.h"
#include "config/frm_flasher_config.h"
#include "config/frm_still_quote_config.h"
#include "program_fixture.h"

namespace {

class DpiChange : public ProgramFixture {
  protected:
    static int syncs_of(const tk::Control& control) {
        return static_cast<const headless::HeadlessControlPeer*>(control.peer())->syncs();
    }
};

TEST_F(DpiChange, EachDialogIsLaidOutAgainFromItsTwipsAtTheNewDpiAndBack) {
    run("/c");
    vq::frmAbout& about = program.load_about();
    std::vector<tk::Form*> dialogs{program.config(), &program.load_drifter_config(),
                                   &program.load_still_quote_config(),
                                   &program.load_flasher_config(), &about};
    for (tk::Form* dialog : dialogs) {
        dialog->load();
        SCOPED_TRACE(dialog->name());
        const double width = dialog->width();
        const double height = dialog->height();
        const headless::HeadlessFormPeer& surface = headless::HeadlessToolkit::peer_of(*dialog);
        for (const int dpi : {120, 144, 168, 192, 96}) {
            std::vector<int> syncs;
            for (const tk::Control* control : dialog->controls())
                syncs.push_back(syncs_of(*control));

            dialog->raise_dpi_changed(dpi);
            EXPECT_EQ(dialog->dpi(), dpi);
            // The design in twips stays; the pixels follow from it.
            EXPECT_EQ(dialog->width(), width);
            EXPECT_EQ(dialog->height(), height);
            EXPECT_EQ(surface.surface_width(), std::lround(width * dpi / 1440)) << dpi;
            EXPECT_EQ(surface.surface_height(), std::lround(height * dpi / 1440)) << dpi;
            for (std::size_t i = 0; i < syncs.size(); ++i)
                EXPECT_GT(syncs_of(*dialog->controls()[i]), syncs[i])
                    << dialog->controls()[i]->name() << " not laid out again at " << dpi;
            if (dialog == &about) {  // its icon keeps its own pixel size
                EXPECT_DOUBLE_EQ(about.picIcon.width(), 32 * 1440.0 / dpi) << dpi;
                EXPECT_DOUBLE_EQ(about.picIcon.height(), 32 * 1440.0 / dpi) << dpi;
            }
        }
        // A size that is no DPI is ignored.
        dialog->raise_dpi_changed(0);
        dialog->raise_dpi_changed(-144);
        EXPECT_EQ(dialog->dpi(), 96);
        EXPECT_EQ(surface.surface_width(), std::lround(width * 96 / 1440));
    }
}

}  // namespace
