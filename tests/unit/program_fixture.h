// A program run on the headless backend: set the store and the command line, run Main, then
// drive the windows and read them.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/headless/headless_toolkit.h"
#include "saver/frm_main_screen_saver.h"
#include "startup/mod_vq_saver.h"
#include "startup/program.h"

struct ProgramRun {
    explicit ProgramRun(tk::Screen screen = {}) : toolkit(screen) {}

    void run(const std::string& command_line) {
        toolkit.set_command_line(command_line);
        modVQSaver::Main(program);
    }
    // Main with "/s" and the given display mode stored.
    vq::frmMainScreenSaver& run_saver(const char* type = nullptr) {
        if (type != nullptr) toolkit.store().put("Type", type);
        run("/s");
        return saver();
    }
    vq::frmMainScreenSaver& saver() { return *program.main_screen_saver(); }
    headless::HeadlessFormPeer& saver_peer() { return headless::HeadlessToolkit::peer_of(saver()); }
    // The smallest rectangle holding every pixel of the saver's surface that is not black.
    std::optional<tk::PixelRect> drawn() {
        const headless::HeadlessFormPeer& peer = saver_peer();
        tk::PixelRect box;
        for (int y = 0; y < peer.surface_height(); ++y)
            for (int x = 0; x < peer.surface_width(); ++x)
                if (peer.pixel(x, y) != tk::kBlack) box = tk::unite(box, {x, y, 1, 1});
        if (box.empty()) return std::nullopt;
        return box;
    }

    headless::HeadlessToolkit toolkit;
    vq::Program program{toolkit};
};

inline bool inside(const tk::PixelRect& inner, const tk::PixelRect& outer) {
    return tk::unite(inner, outer) == outer;
}

// One program per test; a test that needs several, or a fresh one per case, makes ProgramRuns.
class ProgramFixture : public ::testing::Test, public ProgramRun {};
