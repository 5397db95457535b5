// Scripted keyboard and mouse input for the headless runner. Each line holds from its frame
// until the next line: `FRAME KEYS MOUSE_X MOUSE_Y MOUSE_B`, KEYS being `-` or a
// comma-separated list of key names without the KEY_ prefix. Frame 0 is the state at start-up.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/input.h"

// The keys a script can hold, by the name it gives them.
struct ScriptKey {
    const char* name;
    int code;  // the library's KEY_* scancode
};
constexpr int SCRIPT_KEY_COUNT = 30;
extern const ScriptKey SCRIPT_KEYS[SCRIPT_KEY_COUNT];

struct ScriptLine {
    int64_t frame;
    InputSnapshot input;
};

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
