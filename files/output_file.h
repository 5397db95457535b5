// A file a run writes piece by piece (a frame's lines, a frame's picture, a frame's samples)
// that holds only whole pieces, whatever stops it. A write that falls short, on a full disk or
// at the file size limit, is cut back to the end of the last whole piece, so that the file ends
// where the run's last whole frame ended and a reader never meets half a line or half a frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct OutputFile {
    int fd = -1;
    bool to_stdout = false;   // standard output, which is neither cut nor closed
    int64_t whole_bytes = 0;  // the file up to the end of its last whole piece
};

// Creates or empties the file at path, or takes standard output for "-". False when it cannot
// be opened.
bool open_output_file(OutputFile& out, const std::string& path);

// Writes one whole piece after the others. False when not all of it was written: the file is
// then cut back to its last whole piece (when it can be cut; what reached a pipe stays).
bool append_piece(OutputFile& out, const void* data, size_t length);

// Writes one whole piece in place of the file's closing mark, its last mark_length bytes, the
// piece ending with a closing mark of its own: a file whose format needs an end mark (such as
// a track's end) then has one after every piece. When not all of it was written, the file is
// cut back to where it was and its old mark written there again, and false is returned.
bool append_before_mark(OutputFile& out, const void* mark, size_t mark_length, const void* data,
                        size_t length);

// Writes data over the file's first bytes, such as a header that counts what follows. False
// when it could not.
bool rewrite_start(OutputFile& out, const void* data, size_t length);

// Closes the file; true when it was not open. False when closing reports a failed write.
bool close_output_file(OutputFile& out);
