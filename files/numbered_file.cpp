#include "files/numbered_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

// The file is made with O_EXCL; errno tells a taken name from any other failure.
static std::FILE* open_exclusive(const char* path) {
    const int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    std::FILE* out = fdopen(fd, "wb");
    if (out == nullptr) {
        close(fd);
        unlink(path);
        errno = ENOMEM;
    }
    return out;
}

std::FILE* create_numbered_file(const char* folder, const char* extension,
                                char (&path)[PATH_SIZE]) {
    for (int n = 1; n <= KEPT_NUMBER_MAX; ++n) {
        char name[KEPT_NAME_SIZE];
        const int length = std::snprintf(name, sizeof name, "lumora-%04d.%s", n, extension);
        if (length < 0 || length >= KEPT_NAME_SIZE || !join_path(path, folder, name))
            return nullptr;
        std::FILE* out = open_exclusive(path);
        if (out != nullptr || errno != EEXIST) return out;
    }
    return nullptr;
}

std::FILE* create_new_file(const char* path) { return open_exclusive(path); }
