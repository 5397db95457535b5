// Command-line options of the sweep runner.
#pragma once

#include <cstdint>
#include <string>

struct SweepOptions {
    std::string sweep_file;
    int jobs = 0;     // runs at once; 0: one per core
    std::string out;  // the table; empty: standard output
    bool resume = false;
    int64_t shard_index = 0;  // run only the runs whose number is shard_index modulo shard_count
    int64_t shard_count = 1;
    bool plan = false;    // print the run numbers instead of running
    int64_t run = -1;     // run just this one and print its rows without the header
    bool header = false;  // print the table's header line only
    std::string assets;   // folder of the media files; empty: working directory
    bool force = false;   // allow more than FORCE_RUNS runs
};

extern const char* const SWEEP_USAGE;

// Reads the arguments; on a bad one returns false with a message naming it.
bool parse_sweep_options(int argc, char** argv, SweepOptions& options, std::string& error);
