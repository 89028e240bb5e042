// What the saver counted of its own resources, written when it ends: while an object of this
// class lives, every saver started is asked for it (VQ_DIAGNOSTICS), into a file of its own.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace vqtest {

class SaverDiagnostics {
  public:
    struct Count {
        int live;  // still held when the saver ended
        int peak;  // the most held at once
    };

    SaverDiagnostics();
    ~SaverDiagnostics();
    SaverDiagnostics(const SaverDiagnostics&) = delete;
    SaverDiagnostics& operator=(const SaverDiagnostics&) = delete;

    // By kind ("window", "memory_dc", ..., "pointer_hide"); empty if nothing was written.
    std::map<std::string, Count> counts() const;

  private:
    std::filesystem::path file_;
};

}  // namespace vqtest
