// The runs of a sweep: their numbering, the values and seed of each, and the start of the
// table rows that name them. Runs are numbered from 0: every combination of the vary lines in
// repetition 0, then every one in repetition 1, and so on, so a sweep stopped early has run
// each combination once before it runs any twice. Within a repetition the last vary line
// changes fastest, the first slowest; several sizes and numbers of fireflies change slower
// than every vary line, the size slowest.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/world.h"
#include "sweep/sweep_file.h"

struct RunPlan {
    int64_t run;
    int64_t repetition;
    uint32_t seed;
    std::vector<int32_t> values;  // one per vary line, in the file's order
    int field_w = SCREEN_W_PX;    // the run's field and table
    int field_h = SCREEN_H_PX;
    int capacity = MAX_FIREFLIES;
    bool size_column = false;       // the table names the run's size: the sweep varies it
    bool fireflies_column = false;  // likewise its slots
};

// Combinations of the vary lines' values (1 without vary lines), and runs in all.
int64_t combination_count(const SweepFile& sweep);
int64_t run_count(const SweepFile& sweep);

// The seed of run `run`: the upper 32 bits of splitmix64's output for the input
// base_seed * 2^32 + run, so that neighbouring runs get unrelated random streams, and a run's
// seed depends on nothing but the base seed and its number.
uint32_t run_seed(uint32_t base_seed, int64_t run);

// Run `run` (0 to run_count - 1) of the sweep.
RunPlan plan_run(const SweepFile& sweep, int64_t run);

// Writes the run's values into every swarm its vary lines name.
void apply_run_values(const SweepFile& sweep, const RunPlan& plan, Swarm (&table)[SWARM_COUNT]);

// The table's header line, with its line end, and the columns every row of a run starts with:
// "run,repetition,seed,", then "size," and "fireflies," when the sweep varies them, and one
// value per vary line, each followed by a comma. A row ends
// with the sweep's fingerprint (sweep/fingerprint.h) in the column "sweep".
std::string table_header(const SweepFile& sweep);
std::string row_prefix(const RunPlan& plan);
