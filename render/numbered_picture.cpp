#include "render/numbered_picture.h"

#include <cstdio>

#include "files/path.h"
#include "render/picture_file.h"

static bool write_picture(std::FILE* out, void* bmp) {
    return write_png(out, static_cast<BITMAP*>(bmp));
}

bool save_numbered_picture(const char* folder, BITMAP* bmp, char (&name)[KEPT_NAME_SIZE]) {
    char path[PATH_SIZE];
    if (!keep_numbered_file(folder, "png", write_picture, bmp, path)) return false;
    std::snprintf(name, sizeof name, "%s", name_of(path));
    return true;
}

bool save_new_picture(const char* path, BITMAP* bmp) {
    return keep_new_file(path, write_picture, bmp);
}
