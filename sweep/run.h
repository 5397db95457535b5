// One run of a sweep inside this process: the program put back to its start, the base
// settings loaded, the run's values written into its swarms, the generator seeded, and the
// program's own frames run without drawing, measuring the synchrony after every frame. The
// result is the same world as lumora-sim's with that seed and those settings and --no-draw.
#pragma once

#include <cstdint>
#include <string>

#include "app/run.h"
#include "sim/world.h"
#include "sweep/sweep_file.h"

// What every run of a sweep shares, prepared once before the first run.
struct RunSetup {
    const SweepFile* sweep = nullptr;
    std::string settings_path;            // the base settings file, resolved
    std::string fingerprint;              // the sweep's, which ends every row
    Swarm base[SWARM_COUNT] = {};         // the base settings as read before the sweep started
    const char* missing_media = nullptr;  // the media file that failed to load, or null
    RunDef def = default_run_def();       // how every run starts; each has its own seed
};

// Runs run `run` of the sweep. On success returns true with its rows, one per swarm 1 to 9:
// the run's prefix, then swarm,population,final_order,mean_order,sync_frame and the sweep's
// fingerprint. On failure
// returns false with what went wrong.
bool execute_run(const RunSetup& setup, int64_t run, std::string& rows, std::string& error);
