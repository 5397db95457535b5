#include "headless/input_script.h"

#include "files/input_line.h"
#include "files/text_lines.h"
#include "ui/input_keys.h"

bool read_input_script(std::string_view text, const std::string& name,
                       std::vector<ScriptLine>& lines, std::string& error) {
    TextLines in{text, name};
    std::string_view view;
    std::string line_text;
    for (;;) {
        const char* what = nullptr;
        const TextLine next = next_text_line(in, view, what);
        if (next == TextLine::END) return true;
        InputLine line{};
        InputText read = InputText::BAD;
        if (next == TextLine::LINE) {
            line_text.assign(view);
            read = parse_input_text(&line_text[0], line, what);
        }
        if (read == InputText::NOTHING) continue;
        if (read == InputText::LINE && !lines.empty() && line.frame <= lines.back().frame) {
            read = InputText::BAD;
            what = "frames are not strictly ascending";
        }
        if (read == InputText::BAD) {
            error = line_message(in, what);
            return false;
        }
        lines.push_back({line.frame, snapshot_of(line)});
    }
}

const InputSnapshot& input_at(ScriptCursor& cursor, int64_t frame) {
    const std::vector<ScriptLine>& lines = *cursor.lines;
    while (cursor.next < lines.size() && lines[cursor.next].frame <= frame) {
        cursor.current = lines[cursor.next].input;
        ++cursor.next;
    }
    return cursor.current;
}
