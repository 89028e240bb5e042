// A program run on the headless backend: set the store and the command line, run Main, then
// drive the windows and read them.
#pragma once

#include <gtest/gtest.h>

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

    headless::HeadlessToolkit toolkit;
    vq::Program program{toolkit};
};

// One program per test; a test that needs several, or a fresh one per case, makes ProgramRuns.
class ProgramFixture : public ::testing::Test, public ProgramRun {};
