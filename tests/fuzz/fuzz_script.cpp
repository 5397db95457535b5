// Feeds arbitrary bytes to the headless runner's input-script reader.
//
// Checks, besides the sanitizers' own findings:
// - a failed read names the line at fault;
// - a script that was read has strictly ascending frames of 0 or more and holds only keys
//   that a script can name;
// - written back as a script and read again, it gives the same lines, and walking it frame
//   by frame yields each line's input from its frame on.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "headless/input_script.h"
#include "ui/input_keys.h"

namespace {

[[noreturn]] void fault(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

bool read_text(const char* data, size_t size, std::vector<ScriptLine>& lines, std::string& error) {
    return read_input_script(std::string_view(data, size), "s", lines, error);
}

std::string write_script(const std::vector<ScriptLine>& lines) {
    std::string text;
    for (const ScriptLine& line : lines) {
        std::string keys;
        int named = 0;
        for (int k = 0; k < INPUT_KEY_COUNT; ++k) {
            if (!line.input.held[INPUT_KEY_CODES[k]]) continue;
            keys += (keys.empty() ? "" : ",") + std::string(INPUT_KEY_NAMES[k]);
            ++named;
        }
        int held = 0;
        for (bool h : line.input.held) held += h ? 1 : 0;
        if (held != named) fault("a line holds a key that scripts cannot name");
        text += std::to_string(line.frame) + " " + (keys.empty() ? "-" : keys) + " " +
                std::to_string(line.input.mouse_x) + " " + std::to_string(line.input.mouse_y) +
                " " + std::to_string(line.input.mouse_b) + "\n";
    }
    return text;
}

bool same_input(const InputSnapshot& a, const InputSnapshot& b) {
    return std::memcmp(a.held, b.held, sizeof a.held) == 0 && a.mouse_x == b.mouse_x &&
           a.mouse_y == b.mouse_y && a.mouse_b == b.mouse_b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<ScriptLine> lines;
    std::string error;
    if (!read_text(text.data(), text.size(), lines, error)) {
        if (error.rfind("s:", 0) != 0 || std::atol(error.c_str() + 2) < 1) {
            fault("a rejected script's message names no line");
        }
        return 0;
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].frame < 0 || (i > 0 && lines[i].frame <= lines[i - 1].frame)) {
            fault("frames are not strictly ascending from 0");
        }
    }

    const std::string again_text = write_script(lines);
    std::vector<ScriptLine> again;
    if (!read_text(again_text.data(), again_text.size(), again, error)) {
        fault("a script written back does not read");
    }
    if (again.size() != lines.size()) fault("a script written back has a different length");
    for (size_t i = 0; i < lines.size(); ++i) {
        if (again[i].frame != lines[i].frame || !same_input(again[i].input, lines[i].input)) {
            fault("a script written back reads different");
        }
    }

    // Each line is in effect on its own frame and until the frame before the next line.
    ScriptCursor cursor;
    cursor.lines = &lines;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!same_input(input_at(cursor, lines[i].frame), lines[i].input)) {
            fault("a line is not in effect on its frame");
        }
        if (i + 1 < lines.size() && lines[i + 1].frame - 1 > lines[i].frame &&
            !same_input(input_at(cursor, lines[i + 1].frame - 1), lines[i].input)) {
            fault("a line is not in effect up to the next line");
        }
    }
    return 0;
}
