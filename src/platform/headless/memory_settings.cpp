#include "platform/headless/memory_settings.h"

#include "settings/settings.h"

namespace headless {

std::string MemorySettings::path(std::string_view app, std::string_view section,
                                 std::string_view key) {
    std::string p(app);
    p += '\\';
    p += section;
    p += '\\';
    p += key;
    return p;
}

std::optional<std::string> MemorySettings::get(std::string_view app, std::string_view section,
                                               std::string_view key) {
    reads_.emplace_back(key);
    const auto it = values_.find(path(app, section, key));
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

void MemorySettings::set(std::string_view app, std::string_view section, std::string_view key,
                         std::string_view value) {
    writes_.emplace_back(std::string(key), std::string(value));
    values_[path(app, section, key)] = std::string(value);
}

std::optional<std::string> MemorySettings::value(std::string_view key) const {
    const auto it = values_.find(path(vq::kAppName, vq::kSection, key));
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

void MemorySettings::put(std::string_view key, std::string_view value) {
    values_[path(vq::kAppName, vq::kSection, key)] = std::string(value);
}

void MemorySettings::clear_log() {
    writes_.clear();
    reads_.clear();
}

}  // namespace headless
