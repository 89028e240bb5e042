// The program run to its end, the same way on every Linux session: what the suites of each
// session share about what it says and the status it ends with.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vqtest {

struct FinishedRun {
    std::optional<int> status;  // nothing if it had not ended by the deadline
    std::string errors;         // what it wrote to standard error
};

// Runs vqsaver with `arguments`, with `environment` entries added to or replacing the
// session's, to its end. Each session's suite defines it.
FinishedRun run_to_end(std::vector<std::string> arguments,
                       std::vector<std::string> environment = {});

}  // namespace vqtest
