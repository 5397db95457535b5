// Replacing a file's contents in one step: the file is always either the old one or the new
// one, whole, however the process ends, the disk fills or other programs save it meanwhile.
#pragma once

#include <cstddef>

#include "files/path.h"

// A temporary file whose writer is still there is left alone this long (seconds) by other
// saves; after that it is taken for a leftover whatever its name says.
constexpr int LEFTOVER_SECONDS = 60;

// Writes length bytes of data to path through a temporary file beside it that replaces the old
// file only once it is completely on disk. Each save has a temporary file of its own,
// "PATH.tmp-PID-N" (the process and its count of saves), so that any number of programs may
// save the same file at once; a save first removes the temporary files of earlier saves that
// were killed: those whose process has gone, and those older than LEFTOVER_SECONDS. When path
// is a link, the file it leads to is replaced (made, when it does not exist yet) and the link
// stays; the new file keeps the old one's permission bits. Only a regular file is replaced,
// never a FIFO, a device or a folder. Returns false, leaving the old file as it was and no
// temporary file, when any step fails.
bool replace_file(const char* path, const char* data, size_t length);

// Writes the temporary file: fd is open on it for writing and temp_path is its name. Returns
// false when it could not write all of it.
using FileWriter = bool (*)(int fd, const char* temp_path, void* context);

// replace_file with the contents written by write, which gets context.
bool replace_file_with(const char* path, FileWriter write, void* context);

// Longest name of a temporary file: the target's, ".tmp-", a process number and a count.
constexpr int TEMP_PATH_SIZE = PATH_SIZE + 32;

// Creates a temporary file of this process's own beside target, "TARGET.tmp-PID-N", after
// removing those of killed saves of target; its name is put in temp. Returns its descriptor,
// open for writing, or -1.
int create_temporary_beside(const char* target, char (&temp)[TEMP_PATH_SIZE]);
