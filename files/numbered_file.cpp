#include "files/numbered_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/replace_file.h"

// Writes the contents into a temporary file beside target, whose name is put in temp. False,
// with no temporary file left and errno telling why, when any step fails.
static bool write_temporary(const char* target, KeptWriter write, void* context,
                            char (&temp)[TEMP_PATH_SIZE]) {
    const int fd = create_temporary_beside(target, temp);
    if (fd < 0) return false;
    std::FILE* out = fdopen(fd, "wb");
    if (out == nullptr) {
        close(fd);
        unlink(temp);
        return false;
    }
    errno = 0;
    bool ok = write(out, context) && std::fflush(out) == 0 && fsync(fd) == 0;
    const int cause = errno;
    ok = std::fclose(out) == 0 && ok;
    if (ok) return true;
    unlink(temp);
    errno = cause != 0 ? cause : EIO;
    return false;
}

// Gives the whole temporary file the name path unless a file (or a link) has it already: a
// link never replaces, so no other program's file is lost to a race. Errno tells why not.
static bool take_name(const char* temp, const char* path) {
    if (link(temp, path) != 0) return false;
    unlink(temp);
    return true;
}

bool keep_numbered_file(const char* folder, const char* extension, KeptWriter write, void* context,
                        char (&path)[PATH_SIZE]) {
    // The temporary files of every kept file of this kind share one name to be cleared by.
    char name[KEPT_NAME_SIZE];
    char temp[TEMP_PATH_SIZE];
    const int length = std::snprintf(name, sizeof name, "lumora.%s", extension);
    if (length < 0 || length >= KEPT_NAME_SIZE || !join_path(path, folder, name) ||
        !write_temporary(path, write, context, temp))
        return false;
    for (int n = 1; n <= KEPT_NUMBER_MAX; ++n) {
        std::snprintf(name, sizeof name, "lumora-%04d.%s", n, extension);
        if (!join_path(path, folder, name)) break;
        if (take_name(temp, path)) return true;
        if (errno != EEXIST) break;
    }
    const int cause = errno;
    unlink(temp);
    errno = cause;
    return false;
}

namespace {
struct Naming {
    NamedWriter write;
    const char* name;
    void* context;
};
}  // namespace

bool keep_self_naming_file(const char* folder, const char* extension, NamedWriter write,
                           void* context, char (&path)[PATH_SIZE]) {
    char name[KEPT_NAME_SIZE];
    char temp[TEMP_PATH_SIZE];
    const int length = std::snprintf(name, sizeof name, "lumora.%s", extension);
    if (length < 0 || length >= KEPT_NAME_SIZE || !join_path(path, folder, name)) return false;
    // Temporary files are named as keep_numbered_file names them, to be cleared alike.
    char shared[PATH_SIZE];
    std::memcpy(shared, path, sizeof shared);
    for (int n = 1; n <= KEPT_NUMBER_MAX; ++n) {
        std::snprintf(name, sizeof name, "lumora-%04d.%s", n, extension);
        if (!join_path(path, folder, name)) return false;
        struct stat taken;
        if (lstat(path, &taken) == 0) continue;
        Naming naming{write, name, context};
        const auto named = [](std::FILE* out, void* c) {
            const Naming& n = *static_cast<Naming*>(c);
            return n.write(out, n.name, n.context);
        };
        if (!write_temporary(shared, named, &naming, temp)) return false;
        if (take_name(temp, path)) return true;
        const int cause = errno;
        unlink(temp);
        errno = cause;
        if (cause != EEXIST) return false;
    }
    errno = EEXIST;
    return false;
}

bool keep_new_file(const char* path, KeptWriter write, void* context) {
    char temp[TEMP_PATH_SIZE];
    if (!write_temporary(path, write, context, temp)) return false;
    if (take_name(temp, path)) return true;
    const int cause = errno;
    unlink(temp);
    errno = cause;
    return false;
}
