#include "files/input_line.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "files/text_lines.h"
#include "files/whole_number.h"

const char* const INPUT_KEY_NAMES[INPUT_KEY_COUNT] = {
    "ENTER", "PGDN",  "PGUP",   "S",     "L",     "P",     "D",   "UP", "DOWN", "LEFT",
    "RIGHT", "2_PAD", "4_PAD",  "6_PAD", "8_PAD", "SPACE", "ESC", "G",  "F1",   "F12",
    "1",     "2",     "3",      "4",     "5",     "6",     "7",   "8",  "9",    "F9",
    "M",     "MINUS", "EQUALS", "R",     "X",     "Z",     "Y",   "N",  "0",
};

// A decimal integer within [lo, hi], nothing before or after it.
static bool parse_integer(const char* text, int64_t lo, int64_t hi, int64_t& value) {
    return parse_whole_number(text, Signs::PLUS_OR_MINUS, lo, hi, value);
}

static bool parse_keys(char* text, uint64_t& keys) {
    if (std::strcmp(text, "-") == 0) return true;
    char* name = text;
    for (;;) {
        char* comma = std::strchr(name, ',');
        if (comma != nullptr) *comma = '\0';
        int key = 0;
        while (key < INPUT_KEY_COUNT && std::strcmp(name, INPUT_KEY_NAMES[key]) != 0) ++key;
        if (key == INPUT_KEY_COUNT) return false;
        keys |= uint64_t{1} << key;
        if (comma == nullptr) return true;
        name = comma + 1;
    }
}

// Splits text into blank-separated words, in place; returns how many there are, though at most
// max are kept in words.
static int split_words(char* text, char** words, int max) {
    int count = 0;
    char* p = text;
    for (;;) {
        while (*p != '\0' && is_line_blank(*p)) ++p;
        if (*p == '\0') return count;
        if (count < max) words[count] = p;
        ++count;
        while (*p != '\0' && !is_line_blank(*p)) ++p;
        if (*p == '\0') return count;
        *p++ = '\0';
    }
}

static InputText bad_input(const char*& what, const char* why) {
    what = why;
    return InputText::BAD;
}

InputText parse_input_text(char* text, InputLine& line, const char*& what) {
    char* words[5];
    const int count = split_words(text, words, 5);
    if (count == 0) return InputText::NOTHING;
    if (count != 5) return bad_input(what, "expected FRAME KEYS MOUSE_X MOUSE_Y MOUSE_B");
    int64_t x, y, b;
    if (!parse_integer(words[0], 0, INT64_MAX, line.frame))
        return bad_input(what, "FRAME is not a whole number of 0 or more");
    if (!parse_keys(words[1], line.keys))
        return bad_input(what, "KEYS is not - or a comma-separated list of known keys");
    if (!parse_integer(words[2], INT32_MIN, INT32_MAX, x) ||
        !parse_integer(words[3], INT32_MIN, INT32_MAX, y) ||
        !parse_integer(words[4], INT32_MIN, INT32_MAX, b))
        return bad_input(what, "MOUSE_X, MOUSE_Y and MOUSE_B must be ints");
    line.mouse_x = static_cast<int32_t>(x);
    line.mouse_y = static_cast<int32_t>(y);
    line.mouse_b = static_cast<int32_t>(b);
    return InputText::LINE;
}

int format_input_line(char* buf, const InputLine& line) {
    int length = std::snprintf(buf, INPUT_LINE_MAX, "%" PRId64 " ", line.frame);
    const int keys_start = length;
    for (int key = 0; key < INPUT_KEY_COUNT; ++key) {
        if (((line.keys >> key) & 1) == 0) continue;
        length += std::snprintf(buf + length, INPUT_LINE_MAX - length, "%s%s",
                                length == keys_start ? "" : ",", INPUT_KEY_NAMES[key]);
    }
    if (length == keys_start) buf[length++] = '-';
    length += std::snprintf(buf + length, INPUT_LINE_MAX - length, " %d %d %d\n", line.mouse_x,
                            line.mouse_y, line.mouse_b);
    return length;
}
