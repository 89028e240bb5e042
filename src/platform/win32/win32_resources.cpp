#include "platform/win32/win32_resources.h"

#include <vector>

#include "platform/win32/win32_text.h"
#include "platform/win32/win32_picture.h"
#include "resources/content/icon.h"
#include "resources/content/version_values.h"

namespace win32 {
namespace {

// Resource numbers are 1..65535; a 16-bit number below 1 names none (and 0 would read as a
// null name).
bool names_a_resource(tk::Int16 id) {
    return id >= 1;
}

std::wstring module_file(HINSTANCE instance) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(instance, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);  // truncated: try again with more room
    }
}

std::vector<BYTE> version_block(const std::wstring& file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data())) return {};
    return block;
}

std::string version_string(std::vector<BYTE>& block, std::string_view name) {
    const std::wstring query =
        widen("\\StringFileInfo\\" + std::string(vq::content::kVersionStringBlock) + "\\" +
              std::string(name));
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || length == 0) return {};
    std::wstring_view text(static_cast<const wchar_t*>(value), length);
    while (!text.empty() && text.back() == L'\0') text.remove_suffix(1);
    return narrow(text);
}

}  // namespace

tk::PicturePtr Win32Resources::load_bitmap(tk::Int16 id) {
    if (!names_a_resource(id)) return nullptr;
    // The modes load a picture at every change; each is read from the module once and then
    // shared, as pictures never change. A number that names no bitmap is asked again.
    if (const auto loaded = bitmaps_.find(id); loaded != bitmaps_.end()) return loaded->second;
    HANDLE image = LoadImageW(instance_, MAKEINTRESOURCEW(static_cast<WORD>(id)), IMAGE_BITMAP, 0,
                              0, LR_CREATEDIBSECTION);
    if (image == nullptr) return nullptr;
    tk::PicturePtr picture = Win32Picture::from_bitmap(static_cast<HBITMAP>(image));
    if (picture != nullptr) bitmaps_.emplace(id, picture);
    return picture;
}

std::optional<std::string> Win32Resources::load_string(tk::Int16 id) {
    if (!names_a_resource(id)) return std::nullopt;
    // With a length of 0 LoadStringW hands back a pointer into the resource itself.
    const wchar_t* text = nullptr;
    const int length =
        LoadStringW(instance_, static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) return std::nullopt;
    return narrow(std::wstring_view(text, static_cast<std::size_t>(length)));
}

tk::PicturePtr Win32Resources::load_icon() {
    constexpr int size = vq::content::kIconSize;
    HANDLE icon = LoadImageW(instance_, MAKEINTRESOURCEW(vq::content::kIconGroupId), IMAGE_ICON,
                             size, size, 0);
    if (icon == nullptr) return nullptr;
    return Win32Picture::from_icon(static_cast<HICON>(icon), size, size);
}

tk::VersionInfo Win32Resources::version() {
    tk::VersionInfo info;
    std::vector<BYTE> block = version_block(module_file(instance_));
    if (block.empty()) return info;
    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueW(block.data(), L"\\", &value, &length) &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        info.major = static_cast<tk::Int16>(HIWORD(fixed->dwFileVersionMS));
        info.minor = static_cast<tk::Int16>(LOWORD(fixed->dwFileVersionMS));
        info.revision = static_cast<tk::Int16>(HIWORD(fixed->dwFileVersionLS));
    }
    info.product_name = version_string(block, "ProductName");
    info.file_description = version_string(block, "FileDescription");
    info.company_name = version_string(block, "CompanyName");
    info.legal_copyright = version_string(block, "LegalCopyright");
    info.comments = version_string(block, "Comments");
    return info;
}

}  // namespace win32
