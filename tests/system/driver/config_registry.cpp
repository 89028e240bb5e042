#include "driver/config_registry.h"

#include <iterator>

#include "driver/win32_error.h"
#include "platform/win32/handles.h"

namespace vqtest::config {
namespace {

// Nothing if the key does not exist.
win32::unique_hkey open_config_key() {
    HKEY key = nullptr;
    const LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, kConfigKey, 0, KEY_QUERY_VALUE, &key);
    if (status == ERROR_FILE_NOT_FOUND) return {};
    if (status != ERROR_SUCCESS) throw_status("RegOpenKeyExW", status);
    return win32::unique_hkey(key);
}

}  // namespace

void set_raw(const std::wstring& name, DWORD type, std::span<const BYTE> bytes) {
    // Creates the key when it does not exist.
    const LSTATUS status = RegSetKeyValueW(HKEY_CURRENT_USER, kConfigKey, name.c_str(), type,
                                           bytes.data(), static_cast<DWORD>(bytes.size()));
    if (status != ERROR_SUCCESS) throw_status("RegSetKeyValueW", status);
}

void set_text(const std::wstring& name, const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    set_raw(name, REG_SZ, {bytes, (text.size() + 1) * sizeof(wchar_t)});
}

void delete_all() {
    const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, kApplicationKey);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        throw_status("RegDeleteTreeW", status);
}

bool key_exists() {
    return static_cast<bool>(open_config_key());
}

std::vector<std::wstring> value_names() {
    const win32::unique_hkey key = open_config_key();
    std::vector<std::wstring> names;
    if (!key) return names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];  // the longest name a registry value can have, plus one
        DWORD length = std::size(name);
        const LSTATUS status =
            RegEnumValueW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) return names;
        if (status != ERROR_SUCCESS) throw_status("RegEnumValueW", status);
        names.emplace_back(name, length);
    }
}

std::optional<std::wstring> read_text(const std::wstring& name) {
    // Longer than any value the program writes; a longer one, or one of another type, fails.
    wchar_t text[1024];
    DWORD size = sizeof text;
    const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, kConfigKey, name.c_str(), RRF_RT_REG_SZ,
                                        nullptr, text, &size);
    if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
    if (status != ERROR_SUCCESS) throw_status("RegGetValueW", status);
    return std::wstring(text);
}

}  // namespace vqtest::config
