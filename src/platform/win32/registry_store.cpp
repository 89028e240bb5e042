#include "platform/win32/registry_store.h"

#include <algorithm>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/win32_text.h"

namespace win32 {
namespace {

std::wstring key_path(std::string_view app, std::string_view section) {
    return L"Software\\" + widen(app) + L"\\" + widen(section);
}

// The value's text as stored: everything up to the first terminator, or all of it when the
// stored bytes carry none; an odd last byte is not a character and is dropped.
std::wstring stored_text(const std::vector<BYTE>& bytes) {
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    std::copy_n(bytes.begin(), text.size() * sizeof(wchar_t),
                reinterpret_cast<BYTE*>(text.data()));
    if (const auto end = text.find(L'\0'); end != std::wstring::npos) text.resize(end);
    return text;
}

}  // namespace

std::optional<std::string> RegistryStore::get(std::string_view app, std::string_view section,
                                              std::string_view key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key_path(app, section).c_str(), 0, KEY_QUERY_VALUE,
                      &opened) != ERROR_SUCCESS)
        return std::nullopt;
    const unique_hkey config(opened);
    const std::wstring name = widen(key);

    // The size first, then the bytes; a value that grows in between is read again.
    std::vector<BYTE> bytes;
    while (true) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExW(config.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
                ERROR_SUCCESS ||
            type != REG_SZ)
            return std::nullopt;
        bytes.assign(size, 0);
        const LONG read = RegQueryValueExW(config.get(), name.c_str(), nullptr, &type,
                                           bytes.empty() ? nullptr : bytes.data(), &size);
        if (read == ERROR_MORE_DATA) continue;
        if (read != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
        bytes.resize(std::min<std::size_t>(size, bytes.size()));
        return narrow(stored_text(bytes));
    }
}

void RegistryStore::set(std::string_view app, std::string_view section, std::string_view key,
                        std::string_view value) {
    HKEY created = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key_path(app, section).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &created, nullptr) != ERROR_SUCCESS)
        return;
    const unique_hkey config(created);
    const std::wstring text = widen(value);
    const auto size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    static_cast<void>(RegSetValueExW(config.get(), widen(key).c_str(), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(text.c_str()), size));
}

}  // namespace win32
