// The saver when its session changes under it, each test on a compositor of its own:
// outputs plugged in and taken away, an origin output at scale 2 whose compositor is then
// killed, and a compositor without layer-shell, where it falls back to full-screen windows.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>

#include "desktop.h"

namespace vqw {
namespace {

bool all_black(const Image& image) {
    return !image.empty() && image.all(image.box(), kBlack);
}

// Sway nested in another: its outputs WL-1 (at the origin) and WL-2 are windows of the
// host's, and closing one takes that output away.
TEST(Session, AnOutputPluggedInIsCoveredAndOnesTakenAwayDoNoHarm) {
    Sway host("output HEADLESS-1 mode 1024x768 position 0 0", 1);
    ASSERT_TRUE(host.ready());
    Sway sway("output WL-1 position 0 0\noutput WL-2 position 1280 0", 2, &host);
    ASSERT_TRUE(sway.ready()) << read_text(sway.folder() / "compositor.log");
    Process saver = start_saver(sway, {"--fullscreen", "--mode", "drifter", "--drift-speed", "20"});
    ASSERT_TRUE(poll_until([&] {
                    return !saver.running() ||
                           (sway.capture("WL-1").drawn_bounds() && all_black(sway.capture("WL-2")));
                }) &&
                saver.running())
        << "not started";

    // Plugged in: WL-3 at first, and one more after each output taken away, which shows
    // that the saver has read the loss and runs on.
    int plugged = 2;
    auto plug_in_one = [&] {
        ASSERT_TRUE(sway.command("create_output"));
        const std::string output = "WL-" + std::to_string(++plugged);
        EXPECT_TRUE(poll_until([&] { return all_black(sway.capture(output)); }))
            << output << " plugged in is not covered";
    };
    plug_in_one();
    // Taken away: first an output without the mode, then the one at the origin with it.
    for (const char* output : {"WL-2", "WL-1"}) {
        ASSERT_TRUE(host.command(std::string("[title=\"wlroots - ") + output + "\"] kill"));
        ASSERT_TRUE(poll_until([&] { return !sway.has_output(output); })) << output << " stays";
        plug_in_one();
        EXPECT_TRUE(saver.running()) << "ended when " << output << " went";
        EXPECT_TRUE(all_black(sway.capture("WL-3"))) << "uncovered when " << output << " went";
    }
    saver.signal(SIGTERM);
    EXPECT_EQ(saver.wait_for_exit(), 0);
}

// On an output at scale 2 one picture pixel covers one device pixel: the Drifter's picture
// shows 109 x 143 device pixels, centred in the output's 1400 device rows. The compositor
// killed under it then ends it, without a signal of its own.
TEST(Session, AtScaleTwoOnePicturePixelIsOneDevicePixelAndTheCompositorKilledEndsIt) {
    Sway sway("output HEADLESS-1 mode 2000x1400 position 0 0 scale 2", 1);
    ASSERT_TRUE(sway.ready());
    Process saver =
        start_saver(sway, {"--fullscreen", "--mode", "drifter", "--drift-speed", "200"});
    std::optional<Box> seen;
    ASSERT_TRUE(poll_until([&] {
                    const Image image = sway.capture("HEADLESS-1");
                    seen = image.pixel(0, 0) == kBlack ? image.drawn_bounds() : std::nullopt;
                    return seen.has_value() || !saver.running();
                }) &&
                seen)
        << "nothing drawn";
    EXPECT_EQ(seen->width(), 109);
    EXPECT_EQ(seen->height(), 143);
    EXPECT_EQ(seen->top, 629) << "(1400 - 145) / 2 rounded half to even, one row into the frame";
    sway.kill_compositor();
    const auto status = saver.wait_for_exit();
    ASSERT_TRUE(status.has_value()) << "still running after its compositor went";
    EXPECT_LT(*status, 128);
}

// Weston has no layer-shell: one full-screen window instead, said once on stderr.
TEST(Session, WithoutLayerShellItFallsBackToAFullScreenWindowAndSaysSoOnce) {
    Weston weston(1024, 768);
    ASSERT_TRUE(weston.ready()) << read_text(weston.folder() / "compositor.log");
    const auto errors = weston.folder() / "saver-errors.txt";
    Process saver =
        start_saver(weston, {"--fullscreen", "--mode", "drifter", "--drift-speed", "200"},
                    std::nullopt, errors);
    std::optional<Box> seen;
    ASSERT_TRUE(poll_until(
                    [&] {
                        const Image image = weston.capture();
                        seen = image.all({0, 0, image.width(), 1}, kBlack) ? image.drawn_bounds()
                                                                           : std::nullopt;
                        return seen.has_value() || !saver.running();
                    },
                    15s) &&
                seen)
        << "no Drifter on weston";
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
