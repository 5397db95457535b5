// Opening a file the program reads, without waiting and without reading without end. A FIFO
// opened the plain way waits for a writer, and a device such as /dev/zero never ends, so an
// input is opened without blocking, looked at, and read only when it is a regular file; and
// every reader stops at the size its format can use.
#pragma once

#include <cstddef>
#include <string>

// Why an input could not be read.
enum class InputFault {
    NONE,
    MISSING,      // no file of that name
    CANNOT_OPEN,  // such as no permission
    FOLDER,
    NOT_REGULAR,  // a FIFO, a device or a socket
    TOO_LARGE,    // larger than its format can use
    CANNOT_READ,
};

// The fault as the end of a sentence about the file: "does not exist", "is a folder", ...
const char* input_fault_text(InputFault fault);

// Opens path for reading when it is a regular file, without ever waiting for a FIFO's writer.
// Returns the descriptor, or -1 with the fault. Allocates nothing, so a frame may open a file.
int open_input_file(const char* path, InputFault& fault);

// Reads the whole regular file at path into text; a file longer than max_bytes is TOO_LARGE.
InputFault read_input_file(const char* path, size_t max_bytes, std::string& text);
