#include "driver/saver_diagnostics.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace vqtest {

SaverDiagnostics::SaverDiagnostics() {
    file_ = std::filesystem::temp_directory_path() /
            (L"vqsaver-diagnostics-" + std::to_wstring(GetCurrentProcessId()) + L".txt");
    DeleteFileW(file_.c_str());
    if (!SetEnvironmentVariableW(L"VQ_DIAGNOSTICS", L"1") ||
        !SetEnvironmentVariableW(L"VQ_DIAGNOSTICS_FILE", file_.c_str()))
        throw std::runtime_error("SetEnvironmentVariableW failed");
}

SaverDiagnostics::~SaverDiagnostics() {
    SetEnvironmentVariableW(L"VQ_DIAGNOSTICS", nullptr);
    SetEnvironmentVariableW(L"VQ_DIAGNOSTICS_FILE", nullptr);
    DeleteFileW(file_.c_str());
}

std::map<std::string, SaverDiagnostics::Count> SaverDiagnostics::counts() const {
    std::map<std::string, Count> counts;
    std::ifstream in{file_};
    std::string kind;
    Count count{};
    while (in >> kind >> count.live >> count.peak) counts[kind] = count;
    return counts;
}

}  // namespace vqtest
