#include "files/settings_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "files/input_file.h"
#include "files/replace_file.h"
#include "files/whole_number.h"

static bool is_separator(int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Reads one whole number that must end at a separator or at the end of the file. `next` gives
// the next character, or EOF.
template <typename Next>
static bool read_value(Next& next, int32_t& value) {
    int c;
    do {
        c = next();
    } while (is_separator(c));
    int64_t v = 0;
    if (!read_whole_number(next, c, Signs::PLUS_OR_MINUS, INT32_MIN, INT32_MAX, v)) return false;
    if (c != EOF && !is_separator(c)) return false;  // such as 12abc or 1.5
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

bool read_settings(std::string_view text, Swarm (&out)[SWARM_COUNT]) {
    size_t at = 0;
    auto next = [text, &at] {
        return at < text.size() ? static_cast<unsigned char>(text[at++]) : EOF;
    };
    return read_table(next, out);
}

// Characters of an open file through a buffer on the stack, so that loading inside a frame
// allocates nothing; at most SETTINGS_READ_MAX of them, then the end.
struct FileChars {
    int fd;
    char buffer[4096];
    ssize_t length = 0;
    ssize_t pos = 0;
    size_t left = SETTINGS_READ_MAX;
    bool failed = false;  // a read went wrong, or more was asked for than the limit
    int operator()() {
        if (pos == length) {
            do {
                length = left == 0 ? -1 : read(fd, buffer, std::min(sizeof buffer, left));
            } while (length < 0 && errno == EINTR && left > 0);
            pos = 0;
            if (length <= 0) {
                failed = length < 0;
                length = 0;
                return EOF;
            }
            left -= static_cast<size_t>(length);
        }
        return static_cast<unsigned char>(buffer[pos++]);
    }
};

bool read_settings_file(const char* path, Swarm (&table)[SWARM_COUNT], InputFault& fault) {
    FileChars next;
    next.fd = open_input_file(path, fault);
    if (next.fd < 0) return false;
    // A damaged file must not mix with the table the caller has: read into a scratch copy and
    // take it over only when every value was good.
    Swarm scratch[SWARM_COUNT];
    // What a failed read or the limit cut off could have changed the last value read.
    const bool ok = read_table(next, scratch) && !next.failed;
    close(next.fd);
    if (next.failed) fault = next.left == 0 ? InputFault::TOO_LARGE : InputFault::CANNOT_READ;
    if (ok) std::memcpy(table, scratch, sizeof scratch);
    return ok;
}

bool read_settings_file(const char* path, Swarm (&table)[SWARM_COUNT]) {
    InputFault fault;
    return read_settings_file(path, table, fault);
}

int format_settings(char* buf, const Swarm (&table)[SWARM_COUNT]) {
    int length = 0;
    for (int n = 0; n < SETTINGS_VALUES; ++n) {
        length += std::snprintf(buf + length, SETTINGS_TEXT_MAX - length, "%d\n",
                                swarm_field(table[n / SWARM_FIELDS], n % SWARM_FIELDS));
    }
    return length;
}

bool write_settings_file(const char* path, const Swarm (&table)[SWARM_COUNT]) {
    char text[SETTINGS_TEXT_MAX];
    const int length = format_settings(text, table);
    return replace_file(path, text, static_cast<size_t>(length));
}
