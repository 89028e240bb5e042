// The program's settings as the registry holds them: HKCU\Software\VQ_Saver\Config.
#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vqtest::config {

inline constexpr wchar_t kApplicationKey[] = L"Software\\VQ_Saver";
inline constexpr wchar_t kConfigKey[] = L"Software\\VQ_Saver\\Config";

// Stores `text` as a REG_SZ value, creating the key as needed.
void set_text(const std::wstring& name, const std::wstring& text);
// Stores any bytes under any value type, as a hand edit could.
void set_raw(const std::wstring& name, DWORD type, std::span<const BYTE> bytes);
// Removes everything under Software\VQ_Saver, as on a fresh installation.
void delete_all();

bool key_exists();
// The names of the values under the key (none if it does not exist).
std::vector<std::wstring> value_names();
// The REG_SZ value `name`; nothing if it is absent. A value of another type is a failure.
std::optional<std::wstring> read_text(const std::wstring& name);

}  // namespace vqtest::config
