// The keys of the input table (files/input_line.h) as the game library knows them: the
// table's places mapped to its KEY_* codes, and a frame's input turned into the kept form a
// replay holds and back.
#pragma once

#include <cstdint>

#include "files/input_line.h"
#include "files/replay_file.h"
#include "ui/input.h"

// The library's code of each key of the table, in the table's order.
extern const int INPUT_KEY_CODES[INPUT_KEY_COUNT];

// The keys of the table held in input, bit i for INPUT_KEY_NAMES[i].
uint64_t held_keys(const InputSnapshot& input);

// A line of input as a snapshot: its keys held, every other key up.
InputSnapshot snapshot_of(const InputLine& line);

// The input as the session keeps it, and back: only the keys of the table survive.
KeptInput kept_input(int64_t frame, const InputSnapshot& input);
InputSnapshot snapshot_of(const KeptInput& kept);
