// Scripted keyboard and mouse input for the headless runner. Each line holds from its frame
// until the next line: `FRAME KEYS MOUSE_X MOUSE_Y MOUSE_B` (ui/input_line.h), blank lines and
// lines starting with # aside. Frame 0 is the state at start-up.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/input_line.h"

// Reads a whole script. On a malformed line returns false with a message naming the line.
bool read_input_script(std::FILE* in, std::vector<ScriptLine>& lines, std::string& error);

// Walks a script forwards, frame by frame.
struct ScriptCursor {
    const std::vector<ScriptLine>* lines = nullptr;
    size_t next = 0;  // first line not yet in effect
    InputSnapshot current;
};

// The input in effect at frame (0 for start-up); frames must be asked for in ascending order.
const InputSnapshot& input_at(ScriptCursor& cursor, int64_t frame);
