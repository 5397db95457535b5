#include "render/numbered_picture.h"

#include <cstdio>

#include "files/path.h"
#include "render/picture_file.h"

namespace {

struct Picture {
    BITMAP* bmp;
    const std::string& chunk;
};

}  // namespace

static bool write_picture(std::FILE* out, void* picture) {
    const Picture& p = *static_cast<const Picture*>(picture);
    return p.chunk.empty() ? write_png(out, p.bmp) : write_png(out, p.bmp, p.chunk);
}

bool save_numbered_picture(const char* folder, BITMAP* bmp, char (&name)[KEPT_NAME_SIZE],
                           const std::string& chunk) {
    char path[PATH_SIZE];
    Picture picture{bmp, chunk};
    if (!keep_numbered_file(folder, "png", write_picture, &picture, path)) return false;
    std::snprintf(name, sizeof name, "%s", name_of(path));
    return true;
}

bool save_new_picture(const char* path, BITMAP* bmp, const std::string& chunk) {
    Picture picture{bmp, chunk};
    return keep_new_file(path, write_picture, &picture);
}
