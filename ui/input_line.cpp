#include "ui/input_line.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "files/whole_number.h"

const ScriptKey SCRIPT_KEYS[SCRIPT_KEY_COUNT] = {
    {"ENTER", KEY_ENTER},   {"PGDN", KEY_PGDN},   {"PGUP", KEY_PGUP},   {"S", KEY_S},
    {"L", KEY_L},           {"P", KEY_P},         {"D", KEY_D},         {"UP", KEY_UP},
    {"DOWN", KEY_DOWN},     {"LEFT", KEY_LEFT},   {"RIGHT", KEY_RIGHT}, {"2_PAD", KEY_2_PAD},
    {"4_PAD", KEY_4_PAD},   {"6_PAD", KEY_6_PAD}, {"8_PAD", KEY_8_PAD}, {"SPACE", KEY_SPACE},
    {"ESC", KEY_ESC},       {"G", KEY_G},         {"F1", KEY_F1},       {"F12", KEY_F12},
    {"1", KEY_1},           {"2", KEY_2},         {"3", KEY_3},         {"4", KEY_4},
    {"5", KEY_5},           {"6", KEY_6},         {"7", KEY_7},         {"8", KEY_8},
    {"9", KEY_9},           {"F9", KEY_F9},       {"M", KEY_M},         {"MINUS", KEY_MINUS},
    {"EQUALS", KEY_EQUALS},
};

// A decimal integer within [lo, hi], nothing before or after it.
static bool parse_integer(const char* text, int64_t lo, int64_t hi, int64_t& value) {
    return parse_whole_number(text, Signs::PLUS_OR_MINUS, lo, hi, value);
}

static bool parse_keys(char* text, InputSnapshot& input) {
    if (std::strcmp(text, "-") == 0) return true;
    char* name = text;
    for (;;) {
        char* comma = std::strchr(name, ',');
        if (comma != nullptr) *comma = '\0';
        bool known = false;
        for (const ScriptKey& k : SCRIPT_KEYS) {
            if (std::strcmp(name, k.name) == 0) {
                input.held[k.code] = true;
                known = true;
            }
        }
        if (!known) return false;
        if (comma == nullptr) return true;
        name = comma + 1;
    }
}

static bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Splits text into blank-separated words, in place; returns how many there are, though at most
// max are kept in words.
static int split_words(char* text, char** words, int max) {
    int count = 0;
    char* p = text;
    for (;;) {
        while (*p != '\0' && is_blank(*p)) ++p;
        if (*p == '\0') return count;
        if (count < max) words[count] = p;
        ++count;
        while (*p != '\0' && !is_blank(*p)) ++p;
        if (*p == '\0') return count;
        *p++ = '\0';
    }
}

static InputText bad(const char*& what, const char* why) {
    what = why;
    return InputText::BAD;
}

InputText parse_input_text(char* text, ScriptLine& line, const char*& what) {
    char* words[5];
    const int count = split_words(text, words, 5);
    if (count == 0 || words[0][0] == '#') return InputText::NOTHING;
    if (count != 5) return bad(what, "expected FRAME KEYS MOUSE_X MOUSE_Y MOUSE_B");
    int64_t x, y, b;
    if (!parse_integer(words[0], 0, INT64_MAX, line.frame))
        return bad(what, "FRAME is not a whole number of 0 or more");
    if (!parse_keys(words[1], line.input))
        return bad(what, "KEYS is not - or a comma-separated list of known keys");
    if (!parse_integer(words[2], INT32_MIN, INT32_MAX, x) ||
        !parse_integer(words[3], INT32_MIN, INT32_MAX, y) ||
        !parse_integer(words[4], INT32_MIN, INT32_MAX, b))
        return bad(what, "MOUSE_X, MOUSE_Y and MOUSE_B must be ints");
    line.input.mouse_x = static_cast<int>(x);
    line.input.mouse_y = static_cast<int>(y);
    line.input.mouse_b = static_cast<int>(b);
    return InputText::LINE;
}

int format_input_line(char* buf, int64_t frame, const InputSnapshot& input) {
    int length = std::snprintf(buf, INPUT_LINE_MAX, "%" PRId64 " ", frame);
    const int keys_start = length;
    for (const ScriptKey& k : SCRIPT_KEYS) {
        if (!input.held[k.code]) continue;
        length += std::snprintf(buf + length, INPUT_LINE_MAX - length, "%s%s",
                                length == keys_start ? "" : ",", k.name);
    }
    if (length == keys_start) buf[length++] = '-';
    length += std::snprintf(buf + length, INPUT_LINE_MAX - length, " %d %d %d\n", input.mouse_x,
                            input.mouse_y, input.mouse_b);
    return length;
}
