// Many runs at once. The world is one set of global variables, so each run gets a process of
// its own: a child forked from this one, which inherits the loaded media and the base
// settings, runs the frames and sends its rows back through a pipe. The parent writes each
// run's rows to the table in one piece as soon as that run ends, so the table never holds part
// of a run, and the rows do not depend on how many runs share the machine.
#pragma once

#include <cstdint>
#include <functional>

#include "sweep/run.h"

// Runs the runs that next_run hands out (it returns -1 when there are no more), up to `jobs`
// at a time, writing their rows to out_fd. After a run fails, or the table cannot be written,
// no new run starts; the runs under way still finish and keep their rows. Each failure is
// reported on standard error with the run's number. run_done is called after each run whose
// rows are written. Returns true when every run succeeded.
bool run_pool(const RunSetup& setup, const std::function<int64_t()>& next_run, int jobs, int out_fd,
              const std::function<void()>& run_done);
