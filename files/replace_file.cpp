#include "files/replace_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "files/path.h"
#include "files/whole_number.h"
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
        // A relative link is read from the folder the link is in.
        char folder[PATH_SIZE] = "";
        char next[PATH_SIZE];
        if ((link[0] != '/' && !folder_of(folder, target)) || !join_path(next, folder, link))
            return false;
        std::memcpy(target, next, sizeof target);
    }
    return false;
}

// Whether `entry`, a name in the target's folder, is the temporary file of a save of the
// target that is no longer under way: its process has gone or it is too old to belong to a
// save. The fixed name "NAME.tmp" of older versions is judged by its age alone.
static bool is_leftover(int folder, const char* entry, const char* name) {
    const size_t n = std::strlen(name);
    if (std::strncmp(entry, name, n) != 0 || std::strncmp(entry + n, ".tmp", 4) != 0) return false;
    const char* rest = entry + n + 4;
    struct stat info;
    if (fstatat(folder, entry, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode))
        return false;
    const bool old = std::time(nullptr) - info.st_mtime > LEFTOVER_SECONDS;
    if (rest[0] == '\0') return old;
    const char* dash = rest[0] == '-' ? std::strchr(rest + 1, '-') : nullptr;
    int64_t pid = 0, count = 0;
    if (dash == nullptr ||
        !parse_whole_number(std::string_view(rest + 1, dash - rest - 1), Signs::NONE, 1, INT32_MAX,
                            pid) ||
        !parse_whole_number(dash + 1, Signs::NONE, 0, UINT32_MAX, count))
        return false;
    return old || (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH);
}

static void remove_leftovers(const char* target) {
    char folder[PATH_SIZE];
    const char* name = name_of(target);
    if (!folder_of(folder, target)) return;
    DIR* dir = opendir(folder);
    if (dir == nullptr) return;
    while (const dirent* entry = readdir(dir)) {
        if (is_leftover(dirfd(dir), entry->d_name, name)) unlinkat(dirfd(dir), entry->d_name, 0);
    }
    closedir(dir);
}

// Creates this save's own temporary file beside target, one that no other save can have.
static int create_temporary(const char* target, char (&temp)[TEMP_PATH_SIZE]) {
    static std::atomic<unsigned> saves{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        // A name that exists already belongs to an earlier process that had this number.
        if (std::snprintf(temp, sizeof temp, "%s.tmp-%ld-%u", target, static_cast<long>(getpid()),
                          saves++) >= static_cast<int>(sizeof temp))
            return -1;
        const int fd = open(temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

int create_temporary_beside(const char* target, char (&temp)[TEMP_PATH_SIZE]) {
    remove_leftovers(target);
    return create_temporary(target, temp);
}

// The text goes next to the file first and is renamed over it only when all of it is on disk.
bool replace_file_with(const char* path, FileWriter write, void* context) {
    char target[PATH_SIZE];
    if (!file_behind(path, target)) return false;
    struct stat old_file;
    const bool exists = stat(target, &old_file) == 0;
    // Renaming over a FIFO or a device would put a plain file in its place.
    if (exists && !S_ISREG(old_file.st_mode)) return false;
    char temp[TEMP_PATH_SIZE];
    const int fd = create_temporary_beside(target, temp);
    if (fd < 0) return false;

    bool ok = !exists || fchmod(fd, old_file.st_mode & 07777) == 0;
    ok = ok && write(fd, temp, context) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && std::rename(temp, target) == 0;
    if (!ok) unlink(temp);
    return ok;
}

namespace {
struct Text {
    const char* data;
    size_t length;
};
}  // namespace

bool replace_file(const char* path, const char* data, size_t length) {
    Text text{data, length};
    return replace_file_with(
        path,
        [](int fd, const char*, void* context) {
            const Text& t = *static_cast<Text*>(context);
            return write_all(fd, std::string_view(t.data, t.length));
        },
        &text);
}
