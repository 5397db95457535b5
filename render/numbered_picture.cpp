#include "render/numbered_picture.h"

#include <unistd.h>

#include <cstdio>

#include "render/picture_file.h"

// Writes bmp into the file just made at path and closes it; removes the file when it fails.
static bool write_into(std::FILE* out, const char* path, BITMAP* bmp) {
    if (out == nullptr) return false;
    bool ok = write_png(out, bmp);
    ok = std::fclose(out) == 0 && ok;
    if (!ok) unlink(path);
    return ok;
}

bool save_numbered_picture(const char* folder, BITMAP* bmp, char (&name)[KEPT_NAME_SIZE]) {
    char path[PATH_SIZE];
    if (!write_into(create_numbered_file(folder, "png", path), path, bmp)) return false;
    std::snprintf(name, sizeof name, "%s", name_of(path));
    return true;
}

bool save_new_picture(const char* path, BITMAP* bmp) {
    return write_into(create_new_file(path), path, bmp);
}
