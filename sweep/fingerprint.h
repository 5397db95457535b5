// A sweep's fingerprint: 16 hexadecimal digits that end every row of its table, so that a
// table names the sweep that wrote it. It is made from everything that decides the rows: the
// runs (the repetitions, the base seed, and each vary line's swarms, field and values, however
// the values were written), the frames, the field's sizes and the table's slots when they are
// not the default, the base settings and the table's format. The shards
// of one sweep carry the same fingerprint and merge; --resume completes only a table of the
// same sweep.
#pragma once

#include <string>

#include "sim/world.h"
#include "sweep/sweep_file.h"

// The table's format; it changes whenever what a row holds does, so that tables written
// before cannot be resumed into rows of a new kind.
constexpr int TABLE_FORMAT = 2;

// The fingerprint's length in hexadecimal digits.
constexpr int FINGERPRINT_DIGITS = 16;

// The fingerprint of sweep started from the base settings.
std::string sweep_fingerprint(const SweepFile& sweep, const Swarm (&base)[SWARM_COUNT]);
