#include "headless/input_script.h"

static bool fail(std::string& error, long line_number, const char* what) {
    error = "line " + std::to_string(line_number) + ": " + what;
    return false;
}

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

        ScriptLine line{};
        const char* what = nullptr;
        const InputText read = parse_input_text(&text[0], line, what);
        if (read == InputText::NOTHING) continue;
        if (read == InputText::BAD) return fail(error, line_number, what);
        if (!lines.empty() && line.frame <= lines.back().frame) {
            return fail(error, line_number, "frames are not strictly ascending");
        }
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
