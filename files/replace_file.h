// Replacing a file's contents in one step: the file is always either the old one or the new
// one, whole, however the process ends or the disk fills while it writes.
#pragma once

#include <cstddef>

// Writes length bytes of data to path through a temporary file beside it that replaces the old
// file only once it is completely on disk. When path is a link, the file it leads to is
// replaced (made, when it does not exist yet) and the link stays; the new file keeps the old
// one's permission bits. Returns false, leaving the old file as it was and no temporary file,
// when any step fails.
bool replace_file(const char* path, const char* data, size_t length);
