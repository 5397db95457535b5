// What a sweep shows while it goes: on a terminal, one line of the runs done and the time
// left, written over after every run; nothing at all when standard error is no terminal, so a
// log or a job array's output holds only what went wrong.
#pragma once

#include <cstdint>

struct SweepProgress {
    int64_t total = 0;     // the runs this sweep makes (those a resumed table holds left out)
    int64_t done = 0;      // of them, finished
    double start_s = 0.0;  // when the first run started, on the monotonic clock
    bool shown = false;    // standard error is a terminal
};

// Starts counting the runs of a sweep that makes `total` of them.
SweepProgress start_progress(int64_t total);

// Counts a finished run and, on a terminal, shows the line again.
void note_run_done(SweepProgress& progress);

// Ends the line on a terminal, once the last run is done or the sweep stops.
void end_progress(const SweepProgress& progress);
