// A program a test runs, with the command line and environment the test gives it.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/polling.h"

namespace vqtest {

// The words of `line`, split at its blanks: a command line in a table's row.
std::vector<std::string> words(const std::string& line);

// Starts `argv` with exactly `environment`, in a process group of its own (a test's
// interrupt then reaches only the test): standard input from nowhere, standard output to
// `output_fd` (nowhere when negative), standard error to the file `errors` (nowhere when
// empty). The process id, or -1.
pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
            int output_fd = -1, const std::filesystem::path& errors = {});

// A started program, ended with SIGKILL if it still runs when this goes.
class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                 const std::filesystem::path& errors = {})
        : pid_(spawn(argv, environment, -1, errors)) {}
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&&) = delete;
    virtual ~ChildProcess();

    pid_t pid() const { return pid_; }
    bool running();
    // Its exit status, or 128 + the signal that ended it, once it has ended within `limit`.
    std::optional<int> wait_for_exit(milliseconds limit = kDeadline);
    void signal(int number);

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

}  // namespace vqtest
