#include "files/text_lines.h"

bool is_line_blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// The line without its comment and the blanks before it.
static std::string_view without_comment(std::string_view line) {
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '#' || (i > 0 && !is_line_blank(line[i - 1]))) continue;
        size_t end = i;
        while (end > 0 && is_line_blank(line[end - 1])) --end;
        return line.substr(0, end);
    }
    return line;
}

TextLine next_text_line(TextLines& lines, std::string_view& line, const char*& what) {
    for (;;) {
        ++lines.line;
        if (lines.next >= lines.text.size()) return TextLine::END;
        const size_t feed = lines.text.find('\n', lines.next);
        const size_t end = feed == std::string_view::npos ? lines.text.size() : feed;
        std::string_view text = lines.text.substr(lines.next, end - lines.next);
        lines.next = end + 1;
        if (text.size() > TEXT_LINE_MAX) {
            static_assert(TEXT_LINE_MAX == 1048576, "the message names the bound");
            what = "is longer than 1048576 bytes";
            return TextLine::BAD;
        }
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        text = without_comment(text);
        if (text.find('\0') != std::string_view::npos) {
            what = "holds a NUL byte";
            return TextLine::BAD;
        }
        if (text.find_first_not_of(" \t\r") == std::string_view::npos) continue;
        line = text;
        return TextLine::LINE;
    }
}

std::string line_message(const TextLines& lines, const std::string& what) {
    return lines.name + ":" + std::to_string(lines.line) + ": " + what;
}
