// The sweep file: which settings a sweep starts from, how long each run is, how often it is
// repeated, and which swarm fields take which values. Plain text, one directive a line:
//
//   settings FILE                  the base settings file, relative to the sweep file's folder
//   frames N                       frames per run (default 1800)
//   repetitions N                  times the whole grid is run (default 1)
//   seed N                         the base seed the run seeds are made from (default 1)
//   vary SWARMS FIELD VALUES...    SWARMS: 1 to 9, a-b or all; VALUES: integers or a:b:step
//   size WxH...                    the field's size (default 1024x768); several sizes vary it
//   fireflies VALUES...            the table's slots (default 2000); several values vary them
//
// A size or a number of fireflies with more than one value is varied like a field, before
// every vary line: the size changes slowest, then the fireflies, then the vary lines.
//
// Lines and comments are read as in every text file (files/text_lines.h). The reader works on
// the file's text, so it can be tested without files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Values a b a+step ... up to last, inclusive; `count` of them.
struct ValueRange {
    int64_t first;
    int64_t step;
    int64_t count;
};

// One `vary` line: every swarm from first_swarm to last_swarm takes the line's value together.
struct VaryLine {
    int line;  // in the sweep file, for messages
    int first_swarm;
    int last_swarm;
    int field;           // index in the swarm record, as in the settings file
    std::string column;  // the table's name for it, such as s3.communication
    std::vector<ValueRange> values;
    int64_t value_count;
};

struct FieldSize {
    int w;
    int h;
};

struct SweepFile {
    std::string settings;  // as written in the file
    int settings_line = 0;
    int64_t frames = 1800;
    int64_t repetitions = 1;
    uint32_t seed = 1;
    std::vector<VaryLine> vary;
    std::vector<FieldSize> sizes;    // the size line's sizes in order; empty: the default
    std::vector<int32_t> fireflies;  // the fireflies line's numbers in order; empty: the default
};

// Whether the sweep's runs all use the default field and table: then nothing of them shows in
// its table or its fingerprint.
bool default_field(const SweepFile& sweep);

// Longest sweep file read; far more than any grid of runs needs.
constexpr size_t SWEEP_FILE_MAX = size_t{1} << 20;

// Sweeps with more runs than this need --force; more than MAX_RUNS are never allowed, so that
// every run number fits the seed rule's 32 bits.
constexpr int64_t FORCE_RUNS = 100000;
constexpr int64_t MAX_RUNS = int64_t{1} << 32;

// Reads a sweep file named `name` (used in messages). On the first broken line returns false
// with error "NAME:LINE: what is wrong". `force` lifts the FORCE_RUNS limit.
bool read_sweep_file(std::string_view text, const std::string& name, bool force, SweepFile& sweep,
                     std::string& error);

// The value a vary line takes at index i, 0 to value_count - 1.
int32_t vary_value(const VaryLine& vary, int64_t i);

// The settings file's path: `settings` as written, taken relative to the sweep file's folder
// unless it is absolute.
std::string resolve_settings_path(const std::string& sweep_path, const std::string& settings);
