// The statistics table of a headless run: the synchrony of swarms 1 to 9 after every N-th
// frame, as comma-separated text that a spreadsheet or a plotting tool reads. Each frame's rows
// reach the file in one piece, so a run that is killed leaves only whole rows behind; a write
// that fails (a full disk) ends the table on its last whole frame of rows.
#pragma once

#include <cstdint>

#include "files/output_file.h"
#include "sim/synchrony.h"

// The table's first line; every row after it holds these seven values.
constexpr const char* STATS_HEADER = "frame,swarm,target,population,flashing,order,lock\n";

struct StatsWriter {
    OutputFile file;
    int64_t every = 1;  // rows for the frames that are multiples of this
};

// Opens path for the table and writes the header. Returns false when the file cannot be
// opened or written.
bool open_stats_file(StatsWriter& stats, const std::string& path, int64_t every);

// Writes the rows of frame, when it is one of the frames asked for, from its measures. Returns
// false when they could not all be written; the table then ends on its last whole row.
bool write_stats_frame(StatsWriter& stats, int64_t frame, const Synchrony& measured);
