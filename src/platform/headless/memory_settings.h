// An in-memory settings store that remembers every read and write, in order.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/services.h"

namespace headless {

class MemorySettings : public tk::SettingsStore {
public:
    std::optional<std::string> get(std::string_view app, std::string_view section,
                                   std::string_view key) override;
    void set(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override;

    // The program's own section (VQ_Saver, Config), for tests.
    std::optional<std::string> value(std::string_view key) const;
    // Stores a value without logging it as the program's write.
    void put(std::string_view key, std::string_view value);
    // Each (key, value) the program wrote, in order; each key it read, in order.
    const std::vector<std::pair<std::string, std::string>>& writes() const { return writes_; }
    const std::vector<std::string>& reads() const { return reads_; }
    void clear_log();

private:
    static std::string path(std::string_view app, std::string_view section, std::string_view key);

    std::map<std::string, std::string> values_;
    std::vector<std::pair<std::string, std::string>> writes_;
    std::vector<std::string> reads_;
};

}  // namespace headless
