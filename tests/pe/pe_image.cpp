#include "pe_image.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace pe {
namespace {

struct Section {
    std::uint32_t rva, virtual_size, file_offset, file_size;
};

// Reads the image with bounds-checked little-endian reads: a read past the end throws, caught
// in read_image.
class Parser {
  public:
    explicit Parser(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    Image parse() {
        if (u16(0) != 0x5A4D) throw std::runtime_error("no MZ header");
        const std::uint32_t pe_at = u32(0x3C);
        if (u32(pe_at) != 0x00004550) throw std::runtime_error("no PE signature");
        const std::size_t coff = pe_at + 4;
        image_.machine = u16(coff);
        const std::uint16_t sections = u16(coff + 2);
        const std::uint16_t optional_size = u16(coff + 16);
        const std::size_t opt = coff + 20;
        const std::uint16_t magic = u16(opt);
        if (magic != 0x10B && magic != 0x20B) throw std::runtime_error("unknown optional header");
        image_.pe32_plus = magic == 0x20B;
        image_.subsystem = u16(opt + 68);
        const std::size_t directories = opt + (image_.pe32_plus ? 112 : 96);
        const std::size_t table = opt + optional_size;
        for (std::uint16_t i = 0; i < sections; ++i) {
            const std::size_t s = table + 40u * i;
            sections_.push_back({u32(s + 12), u32(s + 8), u32(s + 20), u32(s + 16)});
        }
        if (const std::uint32_t imports = u32(directories + 8)) read_imports(imports);
        if (const std::uint32_t resources = u32(directories + 16)) {
            resource_base_ = offset_of(resources);
            read_resource_types();
        }
        return image_;
    }

  private:
    std::uint8_t u8(std::size_t at) const {
        if (at >= bytes_.size()) throw std::runtime_error("truncated file");
        return bytes_[at];
    }
    std::uint16_t u16(std::size_t at) const {
        return static_cast<std::uint16_t>(u8(at) | u8(at + 1) << 8);
    }
    std::uint32_t u32(std::size_t at) const {
        return static_cast<std::uint32_t>(u16(at)) | static_cast<std::uint32_t>(u16(at + 2)) << 16;
    }
    std::vector<std::uint8_t> bytes(std::size_t at, std::size_t size) const {
        if (at > bytes_.size() || size > bytes_.size() - at)
            throw std::runtime_error("data outside the file");
        return {bytes_.begin() + static_cast<std::ptrdiff_t>(at),
                bytes_.begin() + static_cast<std::ptrdiff_t>(at + size)};
    }
    std::string c_string(std::size_t at) const {
        std::string text;
        for (char c; (c = static_cast<char>(u8(at))) != 0; ++at) text += c;
        return text;
    }

    std::size_t offset_of(std::uint32_t rva) const {
        for (const Section& s : sections_)
            if (rva >= s.rva && rva < s.rva + std::max(s.virtual_size, s.file_size))
                return s.file_offset + (rva - s.rva);
        throw std::runtime_error("address outside every section");
    }

    void read_imports(std::uint32_t rva) {
        for (std::size_t d = offset_of(rva);; d += 20) {
            const std::uint32_t name = u32(d + 12);
            if (name == 0) break;
            image_.imports.push_back(c_string(offset_of(name)));
        }
    }

    // Calls visit(id, offset of the entry's target, is a subdirectory) for each entry of the
    // resource directory at `at`; text-named entries are only counted.
    template <typename Visit>
    void entries(std::size_t at, Visit visit) {
        const int count = u16(at + 12) + u16(at + 14);
        for (int i = 0; i < count; ++i) {
            const std::size_t e = at + 16 + 8u * i;
            const std::uint32_t name = u32(e);
            const std::uint32_t target = u32(e + 4);
            if (name & 0x80000000u) {
                ++image_.named_resources;
                continue;
            }
            visit(static_cast<std::uint16_t>(name), resource_base_ + (target & 0x7FFFFFFFu),
                  (target & 0x80000000u) != 0);
        }
    }

    void read_resource_types() {
        entries(resource_base_, [&](std::uint16_t type, std::size_t names, bool dir) {
            if (!dir) throw std::runtime_error("resource type without names");
            entries(names, [&](std::uint16_t name, std::size_t languages, bool dir2) {
                if (!dir2) throw std::runtime_error("resource name without languages");
                entries(languages, [&](std::uint16_t language, std::size_t data, bool dir3) {
                    if (dir3) throw std::runtime_error("resource language with a subdirectory");
                    image_.resources[type][name].push_back(
                        {language, bytes(offset_of(u32(data)), u32(data + 4))});
                });
            });
        });
    }

    std::vector<std::uint8_t> bytes_;
    Image image_;
    std::vector<Section> sections_;
    std::size_t resource_base_ = 0;
};

}  // namespace

std::optional<Image> read_image(const std::string& path, std::string& error) {
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in) throw std::runtime_error("cannot open the file");
        return Parser({std::istreambuf_iterator<char>(in), {}}).parse();
    } catch (const std::exception& e) {
        error = path + ": " + e.what();
        return std::nullopt;
    }
}

}  // namespace pe
