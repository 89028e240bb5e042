// pe_check WIN32_SCR WIN64_SCR: checks both built VQSaver.scr files without running them:
// each one's image kind, that it imports system DLLs only, and every compiled-in resource
// against the content it must carry. Prints each fault; exits 1 if there is any.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "pe_image.h"
#include "resources/content/film_records.h"
#include "resources/content/icon.h"
#include "resources/content/pictures.h"
#include "resources/content/version_values.h"

namespace {

namespace content = vq::content;
using Bytes = std::vector<std::uint8_t>;

// Prints each fault found in one file and counts them.
struct Checker {
    std::string file;
    int faults = 0;

    void fail(const std::string& what) {
        std::printf("FAIL %s: %s\n", file.c_str(), what.c_str());
        ++faults;
    }
    void expect(bool ok, const std::string& what) {
        if (!ok) fail(what);
    }
};

std::uint16_t u16(const Bytes& b, std::size_t at) {
    return at + 1 < b.size() ? static_cast<std::uint16_t>(b[at] | b[at + 1] << 8) : 0;
}
std::uint32_t u32(const Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(u16(b, at)) | static_cast<std::uint32_t>(u16(b, at + 2))
                                                        << 16;
}

std::set<std::uint16_t> names_of(const pe::Image& image, std::uint16_t type) {
    std::set<std::uint16_t> names;
    if (auto found = image.resources.find(type); found != image.resources.end())
        for (const auto& [name, entries] : found->second) names.insert(name);
    return names;
}

// The single entry of a resource, or null when it is missing or held in several languages.
const pe::Resource* only_entry(const pe::Image& image, std::uint16_t type, std::uint16_t name,
                               Checker& check) {
    const std::string what =
        "resource type " + std::to_string(type) + " number " + std::to_string(name);
    const auto type_found = image.resources.find(type);
    if (type_found == image.resources.end() || !type_found->second.count(name)) {
        check.fail(what + " is missing");
        return nullptr;
    }
    const auto& entries = type_found->second.at(name);
    if (entries.size() != 1) {
        check.fail(what + " exists in " + std::to_string(entries.size()) + " languages");
        return nullptr;
    }
    return &entries.front();
}

void check_image_kind(const pe::Image& image, bool pe32_plus, Checker& check) {
    check.expect(image.pe32_plus == pe32_plus,
                 pe32_plus ? "not a PE32+ image" : "not a PE32 image");
    check.expect(image.machine == (pe32_plus ? 0x8664 : 0x14C), "machine type does not match");
    check.expect(image.subsystem == 2, "subsystem is not Windows GUI");
    static const std::set<std::string> system_dlls = {
        "advapi32.dll", "comctl32.dll", "gdi32.dll",   "kernel32.dll", "msvcrt.dll",
        "ole32.dll",    "shell32.dll",  "user32.dll",  "version.dll",  "uxtheme.dll",
        "shcore.dll",   "ntdll.dll",    "msimg32.dll", "dwmapi.dll",   "shlwapi.dll",
        "winmm.dll",    "imm32.dll",    "comdlg32.dll"};
    for (std::string dll : image.imports) {
        for (char& c : dll) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        check.expect(system_dlls.count(dll) || dll.rfind("api-ms-win-", 0) == 0,
                     "imports " + dll + ", which is not a system DLL");
    }
}

// Every bitmap: 21..45 and no other, each the generated picture in the fixed format.
void check_bitmaps(const pe::Image& image, Checker& check) {
    std::set<std::uint16_t> expected;
    for (const auto& spec : content::kPictures)
        expected.insert(static_cast<std::uint16_t>(spec.id));
    check.expect(names_of(image, 2) == expected, "bitmaps are not exactly 21..45");
    for (const auto& spec : content::kPictures) {
        const pe::Resource* bitmap =
            only_entry(image, 2, static_cast<std::uint16_t>(spec.id), check);
        if (!bitmap) continue;
        const Bytes& b = bitmap->data;
        const std::string name = "bitmap " + std::to_string(spec.id);
        const std::uint32_t colours = content::is_framed(spec.id) ? 256 : 0;
        check.expect(u32(b, 0) == 40 && u32(b, 4) == static_cast<std::uint32_t>(spec.width) &&
                         u32(b, 8) == static_cast<std::uint32_t>(spec.height) && u16(b, 12) == 1 &&
                         u16(b, 14) == 8 && u32(b, 16) == 0 && u32(b, 32) == colours &&
                         u32(b, 36) == colours,
                     name + ": header is not 40 bytes, 1 plane, 8 bits, bottom-up, uncompressed, " +
                         std::to_string(colours) + " colours, its size");
        bool ramp = true;
        for (std::size_t k = 0; k < 256; ++k)
            ramp = ramp && u32(b, 40 + 4 * k) == (k | k << 8 | k << 16);
        check.expect(ramp, name + ": palette is not the linear grey ramp");
        const Bytes file =
            content::bmp_file(*content::make_picture(spec.id), content::colour_counts(spec.id));
        check.expect(Bytes(file.begin() + content::kFileHeaderSize, file.end()) == b,
                     name + ": differs from the generated picture");
    }
}

// The string table: blocks of 16 counted UTF-16 strings, block n holding numbers 16(n-1)...
// Each string must be its film record's text, in US English.
void check_strings(const pe::Image& image, Checker& check) {
    std::map<int, std::string> strings;
    for (std::uint16_t block : names_of(image, 6)) {
        const pe::Resource* entry = only_entry(image, 6, block, check);
        if (!entry) continue;
        check.expect(entry->language == 0x0409,
                     "string block " + std::to_string(block) + " is not US English");
        std::size_t at = 0;
        for (int i = 0; i < 16 && at + 2 <= entry->data.size(); ++i) {
            const std::uint16_t length = u16(entry->data, at);
            at += 2;
            std::string text;
            for (std::uint16_t c = 0; c < length; ++c, at += 2) {
                const std::uint16_t unit = u16(entry->data, at);
                text += unit < 0x80 ? static_cast<char>(unit) : '?';
            }
            if (length > 0) strings[(block - 1) * 16 + i] = text;
        }
    }
    std::map<int, std::string> expected;
    for (int base :
         {content::kTitleBase, content::kQuotationBase, content::kStudioBase, content::kYearBase})
        for (int id = base + 1; id <= base + 10; ++id) expected[id] = *content::film_string(id);
    check.expect(strings == expected,
                 "strings are not exactly the film records' 61..70, 81..90, 101..110, 121..130");
}

void check_icon(const pe::Image& image, Checker& check) {
    check.expect(names_of(image, 3) == std::set<std::uint16_t>{content::kIconImageId},
                 "icon images are not exactly 30001");
    check.expect(names_of(image, 14) == std::set<std::uint16_t>{content::kIconGroupId},
                 "icon groups are not exactly 1");
    if (const pe::Resource* icon = only_entry(image, 3, content::kIconImageId, check)) {
        check.expect(icon->language == 0, "icon 30001 is not language neutral");
        check.expect(icon->data == content::icon_image_resource(),
                     "icon 30001 differs from the generated icon");
    }
    if (const pe::Resource* group = only_entry(image, 14, content::kIconGroupId, check))
        check.expect(group->data == content::icon_group_resource(),
                     "icon group 1 differs from the generated group naming image 30001");
}

// ASCII text as UTF-16 units with their terminator, as the version block stores its keys
// and texts.
Bytes utf16(std::string_view text) {
    Bytes units;
    for (char c : text) units.insert(units.end(), {static_cast<std::uint8_t>(c), 0});
    units.insert(units.end(), {0, 0});
    return units;
}

// Where the value of the version block's entry `key` starts: after the key, padded to four
// bytes. Nothing when no entry has that key.
std::optional<std::size_t> value_at(const Bytes& block, std::string_view key) {
    const Bytes needle = utf16(key);
    const auto found = std::search(block.begin(), block.end(), needle.begin(), needle.end());
    if (found == block.end()) return std::nullopt;
    return (static_cast<std::size_t>(found - block.begin()) + needle.size() + 3) & ~std::size_t{3};
}

void check_version(const pe::Image& image, Checker& check) {
    check.expect(names_of(image, 16) == std::set<std::uint16_t>{1},
                 "version blocks are not exactly 1");
    const pe::Resource* entry = only_entry(image, 16, 1, check);
    if (!entry) return;
    const Bytes& b = entry->data;
    const auto& v = content::kVersion;
    const std::uint32_t ms = static_cast<std::uint32_t>(v.major << 16 | v.minor);
    const std::uint32_t ls = static_cast<std::uint32_t>(v.revision << 16 | v.build);
    const std::size_t f = value_at(b, "VS_VERSION_INFO").value_or(b.size());
    check.expect(u32(b, f) == 0xFEEF04BD, "version block has no fixed file information");
    check.expect(
        u32(b, f + 8) == ms && u32(b, f + 12) == ls && u32(b, f + 16) == ms && u32(b, f + 20) == ls,
        "fixed file and product versions are not 1.2.0.0");
    check.expect(u32(b, f + 28) == 0 && u32(b, f + 32) == 0x4 && u32(b, f + 36) == 0x1,
                 "file flags, OS and type are not 0, 32-bit Windows and an application");

    check.expect(value_at(b, content::kVersionStringBlock).has_value(), "no string block 040904B0");
    for (const auto& [name, value] : content::version_texts(v)) {
        const Bytes text = utf16(value);
        const std::size_t at = value_at(b, name).value_or(b.size());
        check.expect(
            at + text.size() <= b.size() && std::equal(text.begin(), text.end(), b.begin() + at),
            std::string(name) + " is not \"" + std::string(value) + "\"");
    }
    const std::size_t t = value_at(b, "Translation").value_or(b.size());
    check.expect(
        u16(b, t) == content::kVersionLanguage && u16(b, t + 2) == content::kVersionCodePage,
        "translation is not 0x0409, 0x04B0");
}

void check_manifest(const pe::Image& image, Checker& check) {
    const pe::Resource* entry = only_entry(image, 24, 1, check);
    if (!entry) return;
    const std::string text(entry->data.begin(), entry->data.end());
    for (const char* needed :
         {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", ">PerMonitorV2<",
          ">true/pm<", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
          "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        check.expect(text.find(needed) != std::string::npos,
                     std::string("manifest lacks ") + needed);
}

int check_file(const std::string& path, bool pe32_plus) {
    Checker check{path};
    std::string error;
    const auto image = pe::read_image(path, error);
    if (!image) {
        check.fail(error + " (build the win32 and win64 presets first)");
        return check.faults;
    }
    check_image_kind(*image, pe32_plus, check);
    check_bitmaps(*image, check);
    check_strings(*image, check);
    check_icon(*image, check);
    check_version(*image, check);
    check_manifest(*image, check);
    check.expect(image->named_resources == 0, "has resources named by text");
    if (check.faults == 0) std::printf("ok   %s\n", path.c_str());
    return check.faults;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: pe_check WIN32_SCR WIN64_SCR\n");
        return 2;
    }
    const int faults = check_file(argv[1], false) + check_file(argv[2], true);
    return faults == 0 ? 0 : 1;
}
