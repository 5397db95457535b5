#include "render/numbered_picture.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "files/path.h"
#include "render/picture_file.h"

// Creates the file of the first free name and opens it for writing; null when none can be made.
static std::FILE* claim_free_name(const char* folder, char (&path)[PATH_SIZE],
                                  char (&name)[PICTURE_NAME_SIZE]) {
    for (int n = 1; n <= PICTURE_NUMBER_MAX; ++n) {
        std::snprintf(name, sizeof name, "lumora-%04d.png", n);
        if (!join_path(path, folder, name)) return nullptr;
        const int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return nullptr;
        std::FILE* out = fdopen(fd, "wb");
        if (out == nullptr) {
            close(fd);
            unlink(path);
        }
        return out;
    }
    return nullptr;
}

bool save_numbered_picture(const char* folder, BITMAP* bmp, char (&name)[PICTURE_NAME_SIZE]) {
    char path[PATH_SIZE];
    std::FILE* out = claim_free_name(folder, path, name);
    if (out == nullptr) return false;
    bool ok = write_png(out, bmp);
    ok = std::fclose(out) == 0 && ok;
    if (!ok) unlink(path);
    return ok;
}
