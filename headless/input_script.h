// Scripted keyboard and mouse input for the headless runner. Each line holds from its frame
// until the next line: `FRAME KEYS MOUSE_X MOUSE_Y MOUSE_B` (files/input_line.h), read as
// every text file is (files/text_lines.h). Frame 0 is the state at start-up.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/input.h"

struct ScriptLine {
    int64_t frame;
    InputSnapshot input;
};

// Reads a whole script's text; name is the file's, for messages. On a malformed line returns
// false with error `NAME:LINE: what is wrong`.
bool read_input_script(std::string_view text, const std::string& name,
                       std::vector<ScriptLine>& lines, std::string& error);

// Walks a script forwards, frame by frame.
struct ScriptCursor {
    const std::vector<ScriptLine>* lines = nullptr;
    size_t next = 0;  // first line not yet in effect
    InputSnapshot current;
};

// The input in effect at frame (0 for start-up); frames must be asked for in ascending order.
const InputSnapshot& input_at(ScriptCursor& cursor, int64_t frame);
