#include "startup/caption_sizes.h"

#include <map>
#include <sstream>
#include <string>

#include "program_fixture.h"

namespace {

using CaptionSizesTest = ProgramFixture;

TEST_F(CaptionSizesTest, ListsEveryDialogAndSaverTextAtEachDpi) {
    std::istringstream lines(vq::CaptionSizes(program));
    std::map<std::string, int> dpis_of;  // caption -> how many DPIs it was measured at
    std::map<std::string, int> width_at_96;
    std::string where;
    int dpi = 0, width = 0, height = 0, wrap = 0;
    while (lines >> where >> dpi >> width >> height >> wrap) {
        ++dpis_of[where];
        if (dpi == 96) width_at_96[where] = width;
        EXPECT_GT(height, 0) << where << " at " << dpi;
    }
    EXPECT_TRUE(lines.eof()) << "a line that is not <where> <dpi> <width> <height> <wrap>";
    for (const char* caption :
         {"frmConfig.lblInstruct", "frmConfig.optSvrType(2)", "frmConfig.lblMessage#3",
          "frmDrifterConfig.Label3", "frmStillQuoteConfig.Label3", "frmFlasherConfig.Label3",
          "frmAbout.lblTitle", "frmAbout.cmdOK", "StillQuote.intro", "StillQuote.title10",
          "StillQuote.quote10", "StillQuote.studio10", "StillQuote.year10", "AccessKeys.trailing"})
        EXPECT_EQ(dpis_of[caption], 4) << caption;
    // "&Next >" shows six characters, "Trailing&" nine, on this backend's fixed-width font.
    EXPECT_EQ(width_at_96["AccessKeys.marked"] * 9, width_at_96["AccessKeys.trailing"] * 6);
}

}  // namespace
