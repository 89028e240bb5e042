// A run of the program under test, started with an exact argument text.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "driver/top_windows.h"
#include "platform/win32/handles.h"
#include "support/polling.h"

namespace vqtest {

class SaverProcess {
  public:
    // Starts `program` with the command line `"program" arguments`: one space between the
    // quoted path and the argument text, none when the text is empty, so that the program
    // finds exactly `arguments` after the separator.
    SaverProcess(const std::wstring& program, std::wstring arguments);
    // A run still going is ended, so that it cannot disturb the next test.
    ~SaverProcess();
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    DWORD id() const { return id_; }
    const std::wstring& arguments() const { return arguments_; }

    bool running() const;
    // The exit code, or nothing while the process runs.
    std::optional<DWORD> exit_code() const;
    // Waits up to `timeout` for the end; the exit code, or nothing if it still runs.
    std::optional<DWORD> wait_for_exit(milliseconds timeout) const;

    std::vector<TopWindow> visible_windows() const { return visible_top_windows_of(id_); }

  private:
    std::wstring arguments_;
    win32::unique_handle process_;
    win32::unique_handle thread_;
    DWORD id_ = 0;
};

}  // namespace vqtest
