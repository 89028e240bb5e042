// gencontent OUTPUT_FOLDER MANIFEST: writes the pictures as .bmp files, the icon resources
// and content.rc, the resource script that compiles them into the executable.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "resources/content/icon.h"
#include "resources/content/pictures.h"
#include "resources/content/rc_script.h"

namespace {

bool write_file(const std::string& path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) std::fprintf(stderr, "gencontent: cannot write %s\n", path.c_str());
    return static_cast<bool>(out);
}

bool write_bytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    return write_file(path, bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gencontent OUTPUT_FOLDER MANIFEST\n");
        return 2;
    }
    namespace content = vq::content;
    const std::string folder = argv[1];
    bool ok = true;
    for (const content::PictureSpec& spec : content::kPictures)
        ok = write_bytes(folder + "/" + content::bitmap_file_name(spec.id),
                         content::bmp_file(*content::make_picture(spec.id),
                                           content::colour_counts(spec.id))) &&
             ok;
    ok = write_bytes(folder + "/" + std::string(content::kIconImageFile),
                     content::icon_image_resource()) &&
         ok;
    ok = write_bytes(folder + "/" + std::string(content::kIconGroupFile),
                     content::icon_group_resource()) &&
         ok;
    const std::string rc = content::rc_script(folder, argv[2]);
    ok = write_file(folder + "/content.rc", rc.data(), rc.size()) && ok;
    return ok ? 0 : 1;
}
