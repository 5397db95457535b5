// The statistics table of a headless run: the synchrony of swarms 1 to 9 after every N-th
// frame, as comma-separated text that a spreadsheet or a plotting tool reads. Each frame's rows
// reach the file in one write, so a run that is killed leaves only whole rows behind; a write
// that fails (a full disk) ends the table on its last whole row.
#pragma once

#include <cstdint>

#include "sim/synchrony.h"

// The table's first line; every row after it holds these seven values.
constexpr const char* STATS_HEADER = "frame,swarm,target,population,flashing,order,lock\n";

struct StatsWriter {
    int fd = -1;
    int64_t every = 1;        // rows for the frames that are multiples of this
    int64_t whole_bytes = 0;  // the table up to the end of its last whole row
};

// Opens path for the table and writes the header. Returns false when the file cannot be
// opened or written.
bool open_stats_file(StatsWriter& stats, const char* path, int64_t every);

// Writes the rows of frame, when it is one of the frames asked for, from its measures. Returns
// false when they could not all be written: the table is then cut back to its last whole row
// (when it is a file that can be cut) and closed, and the run is to end.
bool write_stats_frame(StatsWriter& stats, int64_t frame, const Synchrony& measured);

// Closes the table; returns false when that fails.
bool close_stats_file(StatsWriter& stats);
