// Settings in the registry: HKEY_CURRENT_USER\Software\<app>\<section>, one REG_SZ value per
// key. A value of any other type reads as missing, whatever its size.
#pragma once

#include "toolkit/services.h"

namespace win32 {

class RegistryStore : public tk::SettingsStore {
public:
    std::optional<std::string> get(std::string_view app, std::string_view section,
                                   std::string_view key) override;
    // Creates the key as needed. The program has no way to report a failed write: it is
    // dropped, and the next read gives the reader's default.
    void set(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override;
};

}  // namespace win32
