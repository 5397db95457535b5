// Picking up a sweep that was stopped: which runs the table already holds in full. The table
// gets each run's rows in one write, so only the last run in it can have been cut short, by a
// kill in the middle of that write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sweep/sweep_file.h"

struct FinishedRuns {
    std::vector<int64_t> runs;  // complete in the table, ascending
    int64_t keep_bytes = 0;     // the table up to the end of its last complete run; 0: no header
    int64_t file_bytes = 0;     // the table as it was found
};

// Reads the table at path. A missing or empty table holds nothing. Returns false with
// "PATH:LINE: what is wrong" when it is not a table of this sweep: another header, a row of
// another sweep (another fingerprint), a row this sweep would not write (such as a value no
// run can give), or a run twice; or with a message when it is not a regular file.
bool read_finished_runs(const std::string& path, const SweepFile& sweep,
                        const std::string& fingerprint, FinishedRuns& finished, std::string& error);

// Whether run is in the ascending list.
bool holds_run(const std::vector<int64_t>& runs, int64_t run);
