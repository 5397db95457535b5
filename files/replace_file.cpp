#include "files/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "files/path.h"
#include "files/write_all.h"

static_assert(PATH_SIZE >= PATH_MAX, "realpath writes up to PATH_MAX bytes");

// The file a path names: through any links, the file they lead to, which need not exist yet.
// False for a loop of links or a path too long.
static bool file_behind(const char* path, char (&target)[PATH_SIZE]) {
    if (realpath(path, target) != nullptr) return true;
    if (std::snprintf(target, sizeof target, "%s", path) >= static_cast<int>(sizeof target))
        return false;
    // A link whose file is missing: follow it by hand, so that saving makes that file and the
    // link stays.
    for (int hops = 0; hops < 40; ++hops) {
        char link[PATH_SIZE];
        const ssize_t n = readlink(target, link, sizeof link - 1);
        if (n < 0) return true;  // not a link: the file is written where the path says
        link[n] = '\0';
        const char* slash = std::strrchr(target, '/');
        const int folder =
            link[0] == '/' || slash == nullptr ? 0 : static_cast<int>(slash - target) + 1;
        char next[PATH_SIZE];
        if (std::snprintf(next, sizeof next, "%.*s%s", folder, target, link) >=
            static_cast<int>(sizeof next))
            return false;
        std::memcpy(target, next, sizeof target);
    }
    return false;
}

// The text goes next to the file first and is renamed over it only when all of it is on disk.
bool replace_file(const char* path, const char* data, size_t length) {
    char target[PATH_SIZE];
    if (!file_behind(path, target)) return false;
    char temp[PATH_SIZE + 8];
    if (std::snprintf(temp, sizeof temp, "%s.tmp", target) >= static_cast<int>(sizeof temp))
        return false;
    // A temporary file left by an interrupted save is stale: start afresh.
    unlink(temp);
    const int fd = open(temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;

    struct stat old_file;
    bool ok = stat(target, &old_file) != 0 || fchmod(fd, old_file.st_mode & 07777) == 0;
    ok = ok && write_all(fd, std::string_view(data, length)) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && std::rename(temp, target) == 0;
    if (!ok) unlink(temp);
    return ok;
}
