#include "platform/win32/diagnostics.h"

#include <cstdio>
#include <string>

#include "platform/win32/handles.h"

namespace win32 {
namespace {

// The variable's value, or an empty text when it is not set.
std::wstring environment(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    const DWORD copied = GetEnvironmentVariableW(name, value.data(), size);
    if (copied == 0 || copied >= size) return {};
    value.resize(copied);
    return value;
}

}  // namespace

std::array<HandleCount, kHandleKinds>& handle_counts() {
    static std::array<HandleCount, kHandleKinds> counts{};
    return counts;
}

const char* handle_kind_name(HandleKind kind) {
    static constexpr const char* kNames[kHandleKinds] = {
        "window", "memory_dc", "bitmap", "font", "brush", "icon", "registry_key", "kernel",
        "pointer_hide"};
    return kNames[static_cast<int>(kind)];
}

void write_diagnostics_if_asked() {
    if (environment(L"VQ_DIAGNOSTICS") != L"1") return;
    const std::wstring path = environment(L"VQ_DIAGNOSTICS_FILE");
    if (path.empty()) return;
    FILE* file = _wfopen(path.c_str(), L"w");
    if (file == nullptr) return;
    for (int kind = 0; kind < kHandleKinds; ++kind) {
        const HandleCount& count = handle_counts()[kind];
        std::fprintf(file, "%s %d %d\n", handle_kind_name(static_cast<HandleKind>(kind)),
                     count.live, count.peak);
    }
    std::fclose(file);
}

}  // namespace win32
