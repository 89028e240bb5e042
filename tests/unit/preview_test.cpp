// The saver as a miniature in a host's window: the preview request, the scaled layout of
// every mode, the letterbox, and a window resized while the mode runs.
#include <cstdint>
#include <optional>

#include "program_fixture.h"
#include "startup/command_switch.h"
#include "toolkit/control.h"

namespace {

constexpr std::uint64_t kHost = 4242;

// The handle is read after the switch; a run opens the miniature only in the window it names.
TEST(PreviewWindowHandle, ReadsTheDecimalHandleAfterTheSwitch) {
    const struct {
        const char* text;
        std::optional<std::uint64_t> handle;
    } cases[] = {
        {"/p 4242", kHost},
        {"/P:4242", kHost},
        {"  /p   4242  ", kHost},
        {"/p 77", 77},
        {"/p0", 0},
        {"/p 0", 0},
        {"/p", {}},
        {"/p ", {}},
        {"/p junk", {}},
        {"/p 4242x", {}},
        {"/p -5", {}},
        {"/p 0x1F", {}},
        {"/p 4242 2", {}},
        {"/p 18446744073709551615", UINT64_MAX},
        {"/p 18446744073709551616", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vq::PreviewWindowHandle(c.text), c.handle) << c.text;
        ProgramRun one;
        one.toolkit.set_host_window(kHost, 152, 112);
        one.run(c.text);
        EXPECT_EQ(one.program.main_screen_saver() != nullptr, c.handle == kHost) << c.text;
    }
}

struct PreviewRun : ProgramRun {
    // Main with a preview request for a host window of the given size on a 1920 x 1080 screen.
    vq::frmMainScreenSaver& run_preview(const char* type, int width, int height) {
        toolkit.set_screen({1920, 1080, 96});
        toolkit.set_host_window(kHost, width, height);
        toolkit.store().put("Type", type);
        run("/p " + std::to_string(kHost));
        return saver();
    }
    // The part of the window the miniature fills, the letterbox around it.
    static tk::PixelRect picture_area(const tk::Form& form) {
        return form.to_view(0, 0, form.width_px(), form.height_px());
    }
};

class Preview : public ::testing::Test, public PreviewRun {};

TEST_F(Preview, RunsAsAMiniatureBesideOtherInstancesNeverTopMostAndInputDoesNotEndIt) {
    toolkit.set_another_instance_running(true);
    toolkit.set_monitors({{0, 0, 1920, 1080, true}, {1920, 0, 1280, 1024, false}});
    vq::frmMainScreenSaver& form = run_preview("1", 152, 112);
    ASSERT_TRUE(form.loaded());
    EXPECT_TRUE(form.miniature());
    EXPECT_TRUE(form.visible());
    EXPECT_FALSE(saver_peer().topmost());
    EXPECT_TRUE(form.covers().empty());
    EXPECT_EQ(toolkit.cursor_count(), 0);
    EXPECT_EQ(program.lngRunMode, 0);
    EXPECT_EQ(saver_peer().surface_width(), 152);
    EXPECT_EQ(saver_peer().surface_height(), 112);
    // The form keeps the monitor's geometry; the window shows it at 152 / 1920.
    EXPECT_DOUBLE_EQ(form.width(), 1920 * 15);
    EXPECT_DOUBLE_EQ(form.view_scale(), 152.0 / 1920);
    form.raise_key_down('A', 0);
    form.raise_mouse_down(1, 0, 10, 10);
    form.raise_mouse_move(0, 0, 20, 20);
    form.raise_mouse_move(0, 0, 90, 90);
    EXPECT_TRUE(form.loaded());
    form.unload();
    EXPECT_EQ(toolkit.cursor_count(), 0);
    EXPECT_TRUE(toolkit.ended());
}

TEST_F(Preview, TheDrifterIsDrawnScaledInsideTheLetterboxAndGoesOnInAResizedWindow) {
    vq::frmMainScreenSaver& form = run_preview("0", 152, 112);
    const tk::PixelRect area = picture_area(form);
    // 1080 × 152 / 1920 = 85.5 rows, centred in 112: black bands above and below.
    EXPECT_EQ(area.width, 152);
    EXPECT_EQ(area.height, 86);
    EXPECT_EQ(area.top, 13);
    toolkit.advance(25);
    const std::optional<tk::PixelRect> first = drawn();
    ASSERT_TRUE(first);
    const double scale = form.view_scale();
    // The framed portrait (black one-pixel frame) is 111 × 145; scaled, about 9 × 11.
    EXPECT_NEAR(first->width, 111 * scale, 2);
    EXPECT_NEAR(first->height, 145 * scale, 2);
    EXPECT_NEAR(first->top, area.top + form.DriftY * scale, 2);
    EXPECT_TRUE(inside(*first, area));

    for (int i = 1; i < 40; ++i) toolkit.advance(25);
    const tk::Int32 x = form.DriftX;
    form.set_view_size(640, 400);
    EXPECT_EQ(saver_peer().surface_width(), 640);
    EXPECT_EQ(saver_peer().surface_height(), 400);
    const tk::PixelRect resized = picture_area(form);
    EXPECT_EQ(resized.top, 20);
    toolkit.advance(25);
    EXPECT_EQ(form.DriftX, x + 1);  // the run goes on from where it was
    const std::optional<tk::PixelRect> now = drawn();
    ASSERT_TRUE(now);
    // One copy at the new scale, give or take the picture's black frame.
    EXPECT_NEAR(now->width, 111 / 3.0, 2);
    EXPECT_NEAR(now->left, form.DriftX / 3.0, 2);
    for (int i = 0; i < 2000; ++i) toolkit.advance(25);
    const std::optional<tk::PixelRect> later = drawn();
    ASSERT_TRUE(later);
    EXPECT_TRUE(inside(*later, resized));
    EXPECT_GT(later->width, now->width);  // it moved, leaving a trail of frames
}

TEST_F(Preview, StillAndQuoteAndFlasherStayInsideTheMiniature) {
    for (const auto& [width, height] : {std::pair{152, 112}, std::pair{640, 360}}) {
        for (const char* type : {"1", "2"}) {
            PreviewRun one;
            vq::frmMainScreenSaver& form = one.run_preview(type, width, height);
            const tk::PixelRect area = picture_area(form);
            int visible_seen = 0;
            for (int tick = 0; tick < 25; ++tick) {
                for (const tk::Control* control : form.controls()) {
                    if (!control->visible()) continue;
                    ++visible_seen;
                    EXPECT_TRUE(inside(form.to_view(control->rect()), area))
                        << control->name() << " tick " << tick << " in " << width;
                }
                one.toolkit.advance(5000);
            }
            EXPECT_GE(visible_seen, 12) << "Type " << type;
        }
    }
}

TEST_F(Preview, AWindowTheSizeOfTheScreenShowsExactlyTheSaversPixels) {
    vq::frmMainScreenSaver& preview = run_preview("0", 1920, 1080);
    ProgramRun full({1920, 1080, 96});
    full.run_saver("0");
    for (int i = 0; i < 300; ++i) {
        toolkit.advance(25);
        full.toolkit.advance(25);
    }
    EXPECT_DOUBLE_EQ(preview.view_scale(), 1);
    const headless::HeadlessFormPeer& a = saver_peer();
    const headless::HeadlessFormPeer& b = full.saver_peer();
    ASSERT_EQ(a.surface_width(), b.surface_width());
    int differing = 0;
    for (int y = 0; y < 1080; ++y)
        for (int x = 0; x < 1920; ++x) differing += a.pixel(x, y) != b.pixel(x, y);
    EXPECT_EQ(differing, 0);
}

}  // namespace
