#include "driver/saver_process.h"

#include "driver/win32_error.h"

namespace vqtest {

SaverProcess::SaverProcess(const std::wstring& program, std::wstring arguments)
    : arguments_(std::move(arguments)) {
    std::wstring command_line = L"\"" + program + L"\"";
    if (!arguments_.empty()) command_line += L" " + arguments_;

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started))
        throw_last_error("CreateProcessW");
    process_.reset(started.hProcess);
    thread_.reset(started.hThread);
    id_ = started.dwProcessId;
}

SaverProcess::~SaverProcess() {
    if (running() && TerminateProcess(process_.get(), 1)) WaitForSingleObject(process_.get(), 5000);
}

bool SaverProcess::running() const {
    return !exit_code().has_value();
}

std::optional<DWORD> SaverProcess::exit_code() const {
    return wait_for_exit(milliseconds{0});
}

std::optional<DWORD> SaverProcess::wait_for_exit(milliseconds timeout) const {
    switch (WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count()))) {
        case WAIT_OBJECT_0: {
            DWORD code = 0;
            if (!GetExitCodeProcess(process_.get(), &code)) throw_last_error("GetExitCodeProcess");
            return code;
        }
        case WAIT_TIMEOUT:
            return std::nullopt;
        default:
            throw_last_error("WaitForSingleObject");
    }
}

}  // namespace vqtest
