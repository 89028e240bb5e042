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

// The test's own environment, as NAME=value entries.
std::vector<std::string> own_environment();

// `environment` with each of `entries` added in place of the entry of its name.
std::vector<std::string> with_entries(std::vector<std::string> environment,
                                      std::vector<std::string> entries);

// The whole of a file; empty when it cannot be read.
std::string read_text(const std::filesystem::path& file);

// Makes `home` a fresh home for vqsaver, with `settings` as its settings file when given;
// the environment entries that put the program there.
std::vector<std::string> saver_home(const std::filesystem::path& home,
                                    const std::optional<std::string>& settings);

// Starts `argv` with exactly `environment`, in a process group of its own (a test's
// interrupt then reaches only the test): standard input from nowhere, standard output to
// `output_fd` (nowhere when negative), standard error to the file `errors` (nowhere when
// empty). The process id, or -1.
pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
            int output_fd = -1, const std::filesystem::path& errors = {});

// A started program, as spawn() starts it, ended with SIGKILL if it still runs when this goes.
class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                 const std::filesystem::path& errors = {}, int output_fd = -1)
        : pid_(spawn(argv, environment, output_fd, errors)) {}
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
