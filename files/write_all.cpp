#include "files/write_all.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

bool write_all(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool flush_standard_output() { return std::fflush(stdout) == 0 && !std::ferror(stdout); }
