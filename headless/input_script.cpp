#include "headless/input_script.h"

#include <cstring>

#include "files/whole_number.h"

const ScriptKey SCRIPT_KEYS[SCRIPT_KEY_COUNT] = {
    {"ENTER", KEY_ENTER}, {"PGDN", KEY_PGDN},   {"PGUP", KEY_PGUP},   {"S", KEY_S},
    {"L", KEY_L},         {"P", KEY_P},         {"D", KEY_D},         {"UP", KEY_UP},
    {"DOWN", KEY_DOWN},   {"LEFT", KEY_LEFT},   {"RIGHT", KEY_RIGHT}, {"2_PAD", KEY_2_PAD},
    {"4_PAD", KEY_4_PAD}, {"6_PAD", KEY_6_PAD}, {"8_PAD", KEY_8_PAD}, {"SPACE", KEY_SPACE},
    {"ESC", KEY_ESC},     {"G", KEY_G},         {"F1", KEY_F1},       {"F12", KEY_F12},
    {"1", KEY_1},         {"2", KEY_2},         {"3", KEY_3},         {"4", KEY_4},
    {"5", KEY_5},         {"6", KEY_6},         {"7", KEY_7},         {"8", KEY_8},
    {"9", KEY_9},         {"M", KEY_M},
};

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Splits a line into blank-separated words, in place.
std::vector<char*> split_words(char* line) {
    std::vector<char*> words;
    char* p = line;
    for (;;) {
        while (*p != '\0' && is_blank(*p)) ++p;
        if (*p == '\0') break;
        words.push_back(p);
        while (*p != '\0' && !is_blank(*p)) ++p;
        if (*p == '\0') break;
        *p++ = '\0';
    }
    return words;
}

// A decimal integer within [lo, hi], nothing before or after it.
bool parse_integer(const char* text, int64_t lo, int64_t hi, int64_t& value) {
    return parse_whole_number(text, Signs::PLUS_OR_MINUS, lo, hi, value);
}

bool parse_keys(char* text, InputSnapshot& input) {
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

bool fail(std::string& error, long line_number, const char* what) {
    error = "line " + std::to_string(line_number) + ": " + what;
    return false;
}

}  // namespace

bool read_input_script(std::FILE* in, std::vector<ScriptLine>& lines, std::string& error) {
    std::string text;
    long line_number = 0;
    int c = 0;
    while (c != EOF) {
        text.clear();
        while ((c = std::getc(in)) != EOF && c != '\n') text.push_back(static_cast<char>(c));
        if (c == EOF && text.empty()) break;
        ++line_number;
        if (text.find('\0') != std::string::npos)
            return fail(error, line_number, "holds a NUL byte");

        std::vector<char*> words = split_words(&text[0]);
        if (words.empty() || words[0][0] == '#') continue;
        if (words.size() != 5) {
            return fail(error, line_number, "expected FRAME KEYS MOUSE_X MOUSE_Y MOUSE_B");
        }
        ScriptLine line{};
        int64_t x, y, b;
        if (!parse_integer(words[0], 0, INT64_MAX, line.frame)) {
            return fail(error, line_number, "FRAME is not a whole number of 0 or more");
        }
        if (!lines.empty() && line.frame <= lines.back().frame) {
            return fail(error, line_number, "frames are not strictly ascending");
        }
        if (!parse_keys(words[1], line.input)) {
            return fail(error, line_number,
                        "KEYS is not - or a comma-separated list of known keys");
        }
        if (!parse_integer(words[2], INT32_MIN, INT32_MAX, x) ||
            !parse_integer(words[3], INT32_MIN, INT32_MAX, y) ||
            !parse_integer(words[4], INT32_MIN, INT32_MAX, b)) {
            return fail(error, line_number, "MOUSE_X, MOUSE_Y and MOUSE_B must be ints");
        }
        line.input.mouse_x = static_cast<int>(x);
        line.input.mouse_y = static_cast<int>(y);
        line.input.mouse_b = static_cast<int>(b);
        lines.push_back(line);
    }
    if (std::ferror(in)) {
        error = "cannot be read";
        return false;
    }
    return true;
}

const InputSnapshot& input_at(ScriptCursor& cursor, int64_t frame) {
    const std::vector<ScriptLine>& lines = *cursor.lines;
    while (cursor.next < lines.size() && lines[cursor.next].frame <= frame) {
        cursor.current = lines[cursor.next].input;
        ++cursor.next;
    }
    return cursor.current;
}
