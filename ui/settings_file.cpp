#include "ui/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ui/interface_state.h"

const char* settings_path = SETTINGS_FILE_NAME;

static bool is_separator(int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
static bool is_digit(int c) { return c >= '0' && c <= '9'; }

// Reads one whole number that must end at a separator or at the end of the file. `next` gives
// the next character, or EOF.
template <typename Next>
static bool read_value(Next& next, int32_t& value) {
    int c;
    do {
        c = next();
    } while (is_separator(c));
    const bool negative = c == '-';
    if (c == '-' || c == '+') c = next();
    if (!is_digit(c)) return false;
    int64_t v = 0;
    for (; is_digit(c); c = next()) {
        v = v * 10 + (c - '0');
        if (v > 2147483648LL) return false;  // out of range whatever the sign
    }
    if (c != EOF && !is_separator(c)) return false;  // such as 12abc or 1.5
    if (negative) v = -v;
    if (v > INT32_MAX) return false;
    value = static_cast<int32_t>(v);
    return true;
}

template <typename Next>
static bool read_table(Next& next, Swarm (&out)[SWARM_COUNT]) {
    for (int n = 0; n < SETTINGS_VALUES; ++n) {
        if (!read_value(next, swarm_field(out[n / SWARM_FIELDS], n % SWARM_FIELDS))) return false;
    }
    return true;
}

bool read_settings(std::FILE* in, Swarm (&out)[SWARM_COUNT]) {
    auto next = [in] { return std::getc(in); };
    return read_table(next, out);
}

// Characters of an open file through a buffer on the stack, so that loading inside a frame
// allocates nothing.
struct FileChars {
    int fd;
    char buffer[4096];
    ssize_t length = 0;
    ssize_t pos = 0;
    int operator()() {
        if (pos == length) {
            do {
                length = read(fd, buffer, sizeof buffer);
            } while (length < 0 && errno == EINTR);
            pos = 0;
            if (length <= 0) {
                length = 0;
                return EOF;
            }
        }
        return static_cast<unsigned char>(buffer[pos++]);
    }
};

int format_settings(char* buf, const Swarm (&table)[SWARM_COUNT]) {
    int length = 0;
    for (int n = 0; n < SETTINGS_VALUES; ++n) {
        length += std::snprintf(buf + length, SETTINGS_TEXT_MAX - length, "%d\n",
                                swarm_field(table[n / SWARM_FIELDS], n % SWARM_FIELDS));
    }
    return length;
}

void load_swarms(const char* path) {
    FileChars next;
    next.fd = open(path, O_RDONLY | O_CLOEXEC);
    if (next.fd < 0) {
        set_status("loading failed");
        return;
    }
    // A damaged file must not mix with the table the user has: read into a scratch copy and
    // take it over only when every value was good.
    Swarm scratch[SWARM_COUNT];
    const bool ok = read_table(next, scratch);
    close(next.fd);
    if (!ok) {
        set_status("loading failed");
        return;
    }
    std::memcpy(swarms, scratch, sizeof swarms);
    set_status("loading succesful");
}

static bool write_all(int fd, const char* data, int length) {
    while (length > 0) {
        const ssize_t n = write(fd, data, static_cast<size_t>(length));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        length -= static_cast<int>(n);
    }
    return true;
}

// The file a path names: through any links, the file they lead to, which need not exist yet.
// False for a loop of links or a path too long.
static bool file_behind(const char* path, char (&target)[PATH_MAX]) {
    if (realpath(path, target) != nullptr) return true;
    if (std::snprintf(target, sizeof target, "%s", path) >= static_cast<int>(sizeof target))
        return false;
    // A link whose file is missing: follow it by hand, so that saving makes that file and the
    // link stays.
    for (int hops = 0; hops < 40; ++hops) {
        char link[PATH_MAX];
        const ssize_t n = readlink(target, link, sizeof link - 1);
        if (n < 0) return true;  // not a link: the file is written where the path says
        link[n] = '\0';
        const char* slash = std::strrchr(target, '/');
        const int folder =
            link[0] == '/' || slash == nullptr ? 0 : static_cast<int>(slash - target) + 1;
        char next[PATH_MAX];
        if (std::snprintf(next, sizeof next, "%.*s%s", folder, target, link) >=
            static_cast<int>(sizeof next))
            return false;
        std::memcpy(target, next, sizeof target);
    }
    return false;
}

// The text goes next to the settings file first and is renamed over the file only when all of
// it is on disk. A settings file that is a link stays one: the file it leads to is the one
// replaced, and the new file keeps the old one's permission bits.
bool write_settings_file(const char* path, const Swarm (&table)[SWARM_COUNT]) {
    char target[PATH_MAX];
    if (!file_behind(path, target)) return false;
    char temp[PATH_MAX + 8];
    if (std::snprintf(temp, sizeof temp, "%s.tmp", target) >= static_cast<int>(sizeof temp))
        return false;
    // A temporary file left by an interrupted save is stale: start afresh.
    unlink(temp);
    const int fd = open(temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;

    struct stat old_file;
    bool ok = stat(target, &old_file) != 0 || fchmod(fd, old_file.st_mode & 07777) == 0;
    char text[SETTINGS_TEXT_MAX];
    const int length = format_settings(text, table);
    ok = ok && write_all(fd, text, length) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && std::rename(temp, target) == 0;
    if (!ok) unlink(temp);
    return ok;
}

void save_swarms(const char* path) {
    set_status(write_settings_file(path, swarms) ? "saving succesful" : "saving failed");
}
