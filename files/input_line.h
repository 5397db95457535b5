// One frame's input as text, the way input scripts and replays write it: a line
// `FRAME KEYS MOUSE_X MOUSE_Y MOUSE_B` that holds from its frame until the next line, KEYS
// being `-` or a comma-separated list of key names, such as `12 ENTER,RIGHT 100 200 1`. The
// key table names every key the program reads; here a key is its place in the table, and the
// interface maps the places to the game library's key codes (ui/input_keys.h).
#pragma once

#include <cstdint>

// The names scripts and replays give the keys the program reads, in the table's order. A new key
// goes at the end, so that every key keeps its place in the replays kept before it.
constexpr int INPUT_KEY_COUNT = 39;
extern const char* const INPUT_KEY_NAMES[INPUT_KEY_COUNT];

// The keys a replay of version 2 can name: the table's first ones. A key added later needs a
// newer version, which an older program refuses to play rather than playing it wrong.
constexpr int INPUT_KEYS_OF_VERSION_2 = 33;

static_assert(INPUT_KEY_COUNT <= 64, "a line's keys are one bit each of 64");

struct InputLine {
    int64_t frame;
    uint64_t keys;  // bit i: INPUT_KEY_NAMES[i] held
    int32_t mouse_x;
    int32_t mouse_y;
    int32_t mouse_b;
};

// What one line of text held.
enum class InputText { LINE, NOTHING, BAD };

// Reads one line of text without its line end or comment, in place: a line of input, or
// NOTHING for a blank line. On BAD, what says what is wrong and line is partly written.
InputText parse_input_text(char* text, InputLine& line, const char*& what);

// Longest line format_input_line writes: every key's name and the widest numbers.
constexpr int INPUT_LINE_MAX = 320;

// Writes line into buf (at least INPUT_LINE_MAX bytes) with a line feed at its end; returns
// its length.
int format_input_line(char* buf, const InputLine& line);
