// The program's entry: the toolkit, the start-up module, then messages until no form is
// loaded.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "platform/win32/diagnostics.h"
#include "platform/win32/win32_toolkit.h"
#include "startup/caption_sizes.h"
#include "startup/mod_vq_saver.h"
#include "startup/program.h"

namespace {

// --measure: the captions' sizes as this backend lays them out, on standard output, for
// comparing backends; no window is shown.
int write_caption_sizes(vq::Program& program) {
    const std::string sizes = vq::CaptionSizes(program);
    DWORD written = 0;
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const bool ok =
        out != nullptr && out != INVALID_HANDLE_VALUE &&
        WriteFile(out, sizes.data(), static_cast<DWORD>(sizes.size()), &written, nullptr) &&
        written == sizes.size();
    return ok ? 0 : 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES;
    // Without it the controls come from user32, unthemed but working.
    static_cast<void>(InitCommonControlsEx(&controls));

    int exit_code = 0;
    try {
        win32::Win32Toolkit toolkit(instance);
        vq::Program program(toolkit);
        if (toolkit.command_line() == "--measure") return write_caption_sizes(program);
        modVQSaver::Main(program);
        exit_code = toolkit.run();
    } catch (...) {
        exit_code = 1;
    }
    // Every form, control and timer is gone by now: what is still counted was leaked.
    win32::write_diagnostics_if_asked();
    return exit_code;
}
