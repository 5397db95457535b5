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

// Writes data at the file's byte at.
static bool write_at(const OutputFile& out, int64_t at, const void* data, size_t length) {
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    while (out.fd >= 0 && done < length) {
        const ssize_t n = pwrite(out.fd, bytes + done, length - done,
                                 static_cast<off_t>(at + static_cast<int64_t>(done)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return out.fd >= 0;
}

bool append_before_mark(OutputFile& out, const void* mark, size_t mark_length, const void* data,
                        size_t length) {
    if (out.fd < 0 || out.to_stdout || out.whole_bytes < static_cast<int64_t>(mark_length))
        return false;
    const int64_t at = out.whole_bytes - static_cast<int64_t>(mark_length);
    if (write_at(out, at, data, length)) {
        out.whole_bytes = at + static_cast<int64_t>(length);
        return lseek(out.fd, static_cast<off_t>(out.whole_bytes), SEEK_SET) >= 0;
    }
    // The old mark takes no more room than the file had before.
    [[maybe_unused]] const bool back =
        ftruncate(out.fd, out.whole_bytes) == 0 && write_at(out, at, mark, mark_length);
    return false;
}

bool rewrite_start(OutputFile& out, const void* data, size_t length) {
    return write_at(out, 0, data, length);
}

bool close_output_file(OutputFile& out) {
    if (out.fd < 0) return true;
    const bool closed = out.to_stdout || close(out.fd) == 0;
    out.fd = -1;
    return closed;
}
