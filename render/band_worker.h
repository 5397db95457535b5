// A second thread that shares out the bands of a picture with the caller. Each band is worked
// by exactly one of the two, and a band's work reads what the whole job reads and writes only
// its own rows, so the picture is the same whichever thread takes which band. The thread is
// started once, on the first job that wants it, and waits between jobs; a worker that wakes
// late takes no band at all, and the caller never waits for one that has not begun.
#pragma once

// The work of one band: the job's context and the band's number.
using BandWork = void (*)(const void* context, int band);

// How many threads the bands of a big picture are shared between: 1 or 2 (the default 2).
void set_drawing_threads(int threads);
int drawing_threads();

// Runs work for the bands 0 to bands - 1, on this thread and, when the drawing threads are
// two, on the worker as well; returns once every band is done.
void run_bands(BandWork work, const void* context, int bands);
