// Writing a whole text to a file descriptor.
#pragma once

#include <string_view>

// Writes all of data to fd, however many calls that takes; a call that a signal interrupts is
// made again. False when a write fails or writes nothing.
bool write_all(int fd, std::string_view data);

// Flushes standard output. False when it or any write to it before failed, such as on a full
// disk: what a program prints is output like any file it writes.
bool flush_standard_output();
