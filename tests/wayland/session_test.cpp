// The saver when its session changes under it, each test on a compositor of its own:
// outputs plugged in and taken away, the compositor killed, an origin output at scale 2,
// and a compositor without layer-shell, where it falls back to full-screen windows.
#include <gtest/gtest.h>
#include <signal.h>

#include "desktop.h"

namespace vqw {
namespace {

bool all_black(const Image& image) {
    return !image.empty() && image.all(image.box(), kBlack);
}

TEST(Session, AnOutputPluggedInIsCoveredAndOnesTakenAwayDoNoHarm) {
    Sway sway("output HEADLESS-1 mode 1024x768 position 0 0\n"
              "output HEADLESS-2 mode 800x600 position 1024 0",
              2);
    ASSERT_TRUE(sway.ready());
    Process saver = start_saver(sway, {"--fullscreen", "--mode", "drifter", "--drift-speed", "20"});
    ASSERT_TRUE(poll_until([&] {
        return !saver.running() ||
               (sway.capture("HEADLESS-1").drawn_bounds() && all_black(sway.capture("HEADLESS-2")));
    }) && saver.running()) << "not started";

    ASSERT_TRUE(sway.command("create_output"));
    ASSERT_TRUE(poll_until([&] { return sway.outputs().size() == 3; }));
    const std::string added = sway.outputs().back().name;
    EXPECT_TRUE(poll_until([&] { return all_black(sway.capture(added)); }))
        << added << " plugged in is not covered";

    // Taken away: first an output without the mode, then the one at the origin with it.
    for (const char* output : {"HEADLESS-2", "HEADLESS-1"}) {
        ASSERT_TRUE(sway.command(std::string("output ") + output + " disable")) << output;
        EXPECT_TRUE(poll_until([&] { return sway.outputs().size() < 3 || !saver.running(); }));
        sway.move_to(0, 0);  // the pointer lands on what is left
        EXPECT_TRUE(saver.running()) << "ended when " << output << " went";
        EXPECT_TRUE(all_black(sway.capture(added))) << "uncovered when " << output << " went";
    }
    sway.key("space");
    EXPECT_EQ(saver.wait_for_exit(), 0);
}

TEST(Session, TheCompositorKilledUnderItEndsItWithinSecondsWithoutASignal) {
    Sway sway("output HEADLESS-1 mode 800x600 position 0 0", 1);
    ASSERT_TRUE(sway.ready());
    Process saver = start_saver(sway, {"--fullscreen", "--mode", "flasher"});
    ASSERT_TRUE(poll_until([&] {
        return !saver.running() || all_black(sway.capture("HEADLESS-1"));
    }) && saver.running());
    sway.kill_compositor();
    const auto status = saver.wait_for_exit(5s);
    ASSERT_TRUE(status.has_value()) << "still running 5 s after its compositor went";
    EXPECT_LT(*status, 128);
}

// On an output at scale 2 one picture pixel covers one device pixel: the Drifter's picture
// is 109 x 143 device pixels, centred in the output's 1400 device rows.
TEST(Session, AtScaleTwoOnePicturePixelIsOneDevicePixel) {
    Sway sway("output HEADLESS-1 mode 2000x1400 position 0 0 scale 2", 1);
    ASSERT_TRUE(sway.ready());
    Process saver = start_saver(sway, {"--fullscreen", "--mode", "drifter", "--drift-speed", "200"});
    std::optional<Box> seen;
    ASSERT_TRUE(poll_until([&] {
        const Image image = sway.capture("HEADLESS-1");
        seen = image.pixel(0, 0) == kBlack ? image.drawn_bounds() : std::nullopt;
        return seen.has_value() || !saver.running();
    }) && seen) << "nothing drawn";
    EXPECT_EQ(seen->width(), 109);
    EXPECT_EQ(seen->height(), 143);
    EXPECT_EQ(seen->top, (1400 - 145) / 2 + 1);
    saver.signal(SIGTERM);
    EXPECT_EQ(saver.wait_for_exit(), 0);
}

// Weston has no layer-shell: one full-screen window instead, said once on stderr.
TEST(Session, WithoutLayerShellItFallsBackToAFullScreenWindowAndSaysSoOnce) {
    Weston weston(1024, 768);
    ASSERT_TRUE(weston.ready()) << read_text(weston.folder() / "compositor.log");
    const auto errors = weston.folder() / "saver-errors.txt";
    Process saver = start_saver(weston, {"--fullscreen", "--mode", "drifter", "--drift-speed", "200"},
                                std::nullopt, errors);
    std::optional<Box> seen;
    ASSERT_TRUE(poll_until([&] {
        const Image image = weston.capture();
        seen = image.all({0, 0, image.width(), 1}, kBlack) ? image.drawn_bounds() : std::nullopt;
        return seen.has_value() || !saver.running();
    }, 15s) && seen) << "no Drifter on weston";
    EXPECT_EQ(seen->top, 313);
    EXPECT_EQ(seen->width(), 109);
    EXPECT_TRUE(saver.running());
    const std::string text = read_text(errors);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_EQ(text.find("vqsaver: "), 0u) << text;
    saver.signal(SIGTERM);
    EXPECT_EQ(saver.wait_for_exit(), 0);
}

}  // namespace
}  // namespace vqw
