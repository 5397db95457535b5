// The statistics table of a headless run: the synchrony of swarms 1 to 9 after every N-th
// frame, as comma-separated text that a spreadsheet or a plotting tool reads. Each frame's rows
// reach the file in one write, so a run that is killed leaves only whole rows behind.
#pragma once

#include <cstdint>
#include <cstdio>

#include "sim/synchrony.h"

// The table's first line; every row after it holds these seven values.
constexpr const char* STATS_HEADER = "frame,swarm,target,population,flashing,order,lock\n";

struct StatsWriter {
    std::FILE* out = nullptr;
    int64_t every = 1;    // rows for the frames that are multiples of this
    bool failed = false;  // a write went wrong; the run goes on and reports it at the end
};

// Opens path for the table and writes the header. Returns false when the file cannot be
// opened or written.
bool open_stats_file(StatsWriter& stats, const char* path, int64_t every);

// Writes the rows of frame, when it is one of the frames asked for, from its measures.
void write_stats_frame(StatsWriter& stats, int64_t frame, const Synchrony& measured);

// Closes the table; returns false when any write failed.
bool close_stats_file(StatsWriter& stats);
