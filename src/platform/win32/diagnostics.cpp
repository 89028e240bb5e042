#include "platform/win32/diagnostics.h"

#include <cstdio>
#include <string>
#include <vector>

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

const std::wstring& preview_snapshot_path() {
    static const std::wstring path = environment(L"VQ_PREVIEW_SNAPSHOT");
    return path;
}

bool preview_snapshot_asked() { return !preview_snapshot_path().empty(); }

void write_preview_snapshot(int width, int height, const std::function<void(HDC)>& paint) {
    if (!preview_snapshot_asked() || width <= 0 || height <= 0) return;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const unique_hdc dc(CreateCompatibleDC(nullptr));
    const unique_hbitmap frame(CreateDIBSection(dc.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !frame || bits == nullptr) return;
    {
        const select_object chosen(dc.get(), frame.get());
        paint(dc.get());
        GdiFlush();
    }
    const auto pixel_bytes = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof format.bmiHeader;
    header.bfSize = header.bfOffBits + pixel_bytes;
    // Written beside the file and moved over it, so that a reader never sees half a frame.
    const std::wstring partial = preview_snapshot_path() + L".partial";
    FILE* file = _wfopen(partial.c_str(), L"wb");
    if (file == nullptr) return;
    const bool written = std::fwrite(&header, sizeof header, 1, file) == 1 &&
                         std::fwrite(&format.bmiHeader, sizeof format.bmiHeader, 1, file) == 1 &&
                         std::fwrite(bits, pixel_bytes, 1, file) == 1;
    std::fclose(file);
    if (written)
        MoveFileExW(partial.c_str(), preview_snapshot_path().c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace win32
