// What the saver counted of its own resources, written when it ends: while an object of this
// class lives, every saver started is asked for it (VQ_DIAGNOSTICS), into a file of its own.
#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>

namespace vqtest {

class SaverDiagnostics {
  public:
    struct Count {
        int live;  // still held when the saver ended
        int peak;  // the most held at once
    };

    SaverDiagnostics() {
        DeleteFileW(file_.c_str());
        if (!SetEnvironmentVariableW(L"VQ_DIAGNOSTICS", L"1") ||
            !SetEnvironmentVariableW(L"VQ_DIAGNOSTICS_FILE", file_.c_str()))
            throw std::runtime_error("SetEnvironmentVariableW failed");
    }
    ~SaverDiagnostics() {
        SetEnvironmentVariableW(L"VQ_DIAGNOSTICS", nullptr);
        SetEnvironmentVariableW(L"VQ_DIAGNOSTICS_FILE", nullptr);
        DeleteFileW(file_.c_str());
    }
    SaverDiagnostics(const SaverDiagnostics&) = delete;
    SaverDiagnostics& operator=(const SaverDiagnostics&) = delete;

    // By kind ("window", "memory_dc", ..., "pointer_hide"); empty if nothing was written.
    std::map<std::string, Count> counts() const {
        std::map<std::string, Count> counts;
        std::ifstream in{file_};
        std::string kind;
        Count count{};
        while (in >> kind >> count.live >> count.peak) counts[kind] = count;
        return counts;
    }

  private:
    const std::filesystem::path file_ =
        std::filesystem::temp_directory_path() /
        (L"vqsaver-diagnostics-" + std::to_wstring(GetCurrentProcessId()) + L".txt");
};

}  // namespace vqtest
