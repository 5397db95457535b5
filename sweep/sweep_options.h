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
    bool plan = false;     // print the run numbers instead of running
    int64_t run = -1;      // run just this one and print its rows without the header
    bool header = false;   // print the table's header line only
    std::string assets;    // folder of the media files; empty: working directory
    bool force = false;    // allow more than FORCE_RUNS runs
    bool help = false;     // print the usage and every option, and run nothing
    bool version = false;  // print the version, and run nothing
    // --size and --fireflies: every run's field and slots, as a size or fireflies line of the
    // sweep file would give them (which then cannot give its own).
    int field_w = 0, field_h = 0;  // 0: not given
    int capacity = 0;              // 0: not given
};

// The usage lines, shown after a bad argument; --help prints them and then SWEEP_HELP, what
// the runner does and what every option means.
extern const char* const SWEEP_USAGE;
extern const char* const SWEEP_HELP;

// Reads the arguments; on a bad one returns false with a message naming it. --help (or -h) and
// --version end the reading: no sweep file is needed, and what follows is not looked at.
bool parse_sweep_options(int argc, char** argv, SweepOptions& options, std::string& error);
