// Runs the suites beside one headless sway shared by every test that needs no compositor of
// its own: three outputs, HEADLESS-1 (1024 x 768) at the layout's origin, HEADLESS-2
// (800 x 600) left of it and HEADLESS-3 (960 x 720 at scale 1.5, 640 x 480 in the layout)
// right of it, and on the origin output a full-screen window of the tests' own in red.
#include <gtest/gtest.h>

#include "desktop.h"
#include "support/finished_run.h"

namespace vqw {
namespace {

Sway* g_desktop = nullptr;

class DesktopEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        sway_.emplace(std::string(kDesktopOutputs));
        ASSERT_TRUE(sway_->ready()) << "no sway: " << read_text(sway_->folder() / "compositor.log");
        g_desktop = &*sway_;
        // The pointer starts at the origin output's corner, drawn into its screenshots.
        sway_->move_to(-400 - kLayoutLeft, 300);
        backdrop_.emplace(sway_->client({"/usr/bin/python3", "-B", sway_->stage(VQ_BACKDROP_PATH)},
                                        {}, sway_->folder() / "backdrop.log"));
        ASSERT_TRUE(poll_until([&] {
            return sway_->capture(kOrigin).all(sway_->capture(kOrigin).box(), kBackdrop);
        })) << "the backdrop window does not fill the origin output: "
            << read_text(sway_->folder() / "backdrop.log");
    }
    void TearDown() override {
        g_desktop = nullptr;
        backdrop_.reset();
        sway_.reset();
    }

  private:
    std::optional<Sway> sway_;
    std::optional<Process> backdrop_;
};

}  // namespace

Sway& desktop() {
    return *g_desktop;
}

}  // namespace vqw

vqtest::FinishedRun vqtest::run_to_end(std::vector<std::string> arguments,
                                       std::vector<std::string> environment) {
    static int count = 0;
    const auto errors = vqw::desktop().folder() / ("run-" + std::to_string(++count) + ".txt");
    arguments.insert(arguments.begin(), vqw::desktop().saver_path());
    vqw::Process saver =
        vqw::desktop().client(std::move(arguments), std::move(environment), errors);
    const std::optional<int> status = saver.wait_for_exit(2 * kDeadline);
    return {status, vqw::read_text(errors)};
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new vqw::DesktopEnvironment);
    return RUN_ALL_TESTS();
}
