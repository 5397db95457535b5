// One frame's input as text, the way input scripts and replays write it: a line
// `FRAME KEYS MOUSE_X MOUSE_Y MOUSE_B` that holds from its frame until the next line, KEYS
// being `-` or a comma-separated list of key names without the KEY_ prefix, such as
// `12 ENTER,RIGHT 100 200 1`. The key table is the list of every key the program reads.
#pragma once

#include <cstdint>

#include "ui/input.h"

// A key the program reads, by the name scripts and replays give it.
struct ScriptKey {
    const char* name;
    int code;  // the library's KEY_* scancode
};
constexpr int SCRIPT_KEY_COUNT = 33;
extern const ScriptKey SCRIPT_KEYS[SCRIPT_KEY_COUNT];

struct ScriptLine {
    int64_t frame;
    InputSnapshot input;
};

// What one line of text held.
enum class InputText { LINE, NOTHING, BAD };

// Reads one line of text without its line end, in place: a line of input, or NOTHING for a
// blank line or a comment (its first word starts with #). On BAD, what says what is wrong and
// line is partly written.
InputText parse_input_text(char* text, ScriptLine& line, const char*& what);

// Longest line format_input_line writes: every key's name and the widest numbers.
constexpr int INPUT_LINE_MAX = 320;

// Writes the line of input at frame into buf (at least INPUT_LINE_MAX bytes) with a line feed
// at its end, naming only the keys of the table; returns its length.
int format_input_line(char* buf, int64_t frame, const InputSnapshot& input);
