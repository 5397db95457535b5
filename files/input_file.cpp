#include "files/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

const char* input_fault_text(InputFault fault) {
    // In the order of InputFault.
    static const char* const TEXTS[] = {
        "can be read",    "does not exist",        "cannot be opened",
        "is a folder",    "is not a regular file", "is larger than its format allows",
        "cannot be read",
    };
    return TEXTS[static_cast<int>(fault)];
}

int open_input_file(const char* path, InputFault& fault) {
    // Without O_NONBLOCK a FIFO's open would wait for a writer; a regular file ignores it.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        fault = errno == ENOENT || errno == ENOTDIR ? InputFault::MISSING : InputFault::CANNOT_OPEN;
        return -1;
    }
    struct stat info;
    fault = fstat(fd, &info) != 0        ? InputFault::CANNOT_READ
            : S_ISDIR(info.st_mode)      ? InputFault::FOLDER
            : !S_ISREG(info.st_mode)     ? InputFault::NOT_REGULAR
            : fcntl(fd, F_SETFL, 0) != 0 ? InputFault::CANNOT_READ
                                         : InputFault::NONE;
    if (fault == InputFault::NONE) return fd;
    close(fd);
    return -1;
}

InputFault read_input_file(const char* path, size_t max_bytes, std::string& text) {
    InputFault fault = InputFault::NONE;
    const int fd = open_input_file(path, fault);
    if (fd < 0) return fault;
    text.clear();
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fault = InputFault::CANNOT_READ;
        if (n <= 0) break;
        if (text.size() + static_cast<size_t>(n) > max_bytes) {
            fault = InputFault::TOO_LARGE;
            break;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    return fault;
}
