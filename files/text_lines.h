// The lines of a text file, read the one way that replays, input scripts and sweep files share:
//
// - a line ends at a line feed, and one CR before it is dropped, so a file whose line ends were
//   changed to CR LF reads the same;
// - a # that begins a word (at the line's start or after a space, tab or CR) begins a comment,
//   which runs to the line's end and takes the blanks before it along; a line left with
//   nothing but blanks is passed over;
// - no line is longer than TEXT_LINE_MAX bytes, and none holds a NUL byte outside a comment;
// - a message about a line names it `FILE:LINE: what is wrong`.
//
// The text is the whole file, read through read_input_file, so a line is a view into it and
// reading allocates nothing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Longest line read: as long as the longest sweep file, so no line of a file that fits its
// format's size is refused for its length alone.
constexpr size_t TEXT_LINE_MAX = size_t{1} << 20;

struct TextLines {
    std::string_view text;  // the whole file
    std::string name;       // the file's name, for messages
    size_t next = 0;        // where the next line starts in text
    long line = 0;          // the number of the line last read; one past the last at the end
};

enum class TextLine { LINE, END, BAD };

// Whether c parts the words of a line: a space, a tab or a CR.
bool is_line_blank(char c);

// Reads the next line that holds something, without its comment and line end, into line. END
// after the last line; BAD, with `what` saying why, for a line that is too long or holds a NUL
// byte.
TextLine next_text_line(TextLines& lines, std::string_view& line, const char*& what);

// `NAME:LINE: what`, the line being the one last read.
std::string line_message(const TextLines& lines, const std::string& what);
