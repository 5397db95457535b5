#include "files/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "files/write_all.h"

bool open_output_file(OutputFile& out, const std::string& path) {
    out.to_stdout = path == "-";
    out.fd = out.to_stdout ? STDOUT_FILENO
                           : open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    out.whole_bytes = 0;
    return out.fd >= 0;
}

bool append_piece(OutputFile& out, const void* data, size_t length) {
    if (out.fd < 0) return false;
    if (write_all(out.fd, std::string_view(static_cast<const char*>(data), length))) {
        out.whole_bytes += static_cast<int64_t>(length);
        return true;
    }
    // A pipe or a device cannot be cut: what reached it stays.
    [[maybe_unused]] const bool cut = out.to_stdout || ftruncate(out.fd, out.whole_bytes) == 0;
    return false;
}

bool rewrite_start(OutputFile& out, const void* data, size_t length) {
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    while (out.fd >= 0 && done < length) {
        const ssize_t n = pwrite(out.fd, bytes + done, length - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return out.fd >= 0;
}

bool close_output_file(OutputFile& out) {
    if (out.fd < 0) return true;
    const bool closed = out.to_stdout || close(out.fd) == 0;
    out.fd = -1;
    return closed;
}
