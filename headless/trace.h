// The trace of a headless run: the interface variables, the swarm records that changed and
// every live firefly, after each frame, in plain text. Floats print with "%.9g", which reads
// back as the same single-precision value.
#pragma once

#include <cstdint>
#include <cstdio>

#include "sim/world.h"

struct TraceWriter {
    std::FILE* out = nullptr;
    bool started = false;              // the first frame writes all ten swarm records
    Swarm previous[SWARM_COUNT] = {};  // swarm records as written after the last frame
};

// Writes the state after frame to the trace.
void write_trace_frame(TraceWriter& trace, int64_t frame);
