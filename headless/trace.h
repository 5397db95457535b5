// The trace of a headless run: the interface variables, the swarm records that changed and
// every live firefly, after each frame, in plain text. Floats print with "%.9g", which reads
// back as the same single-precision value. Each frame's lines reach the file in one piece, so
// a trace cut short by a full disk ends on its last whole frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "files/output_file.h"
#include "sim/world.h"

struct TraceWriter {
    OutputFile file;
    std::vector<char> text;            // one frame's lines; grows to the largest frame's
    size_t length = 0;                 // of the frame's lines so far
    bool started = false;              // the first frame writes all ten swarm records
    Swarm previous[SWARM_COUNT] = {};  // swarm records as written after the last frame
};

// Writes the state after frame to the trace. False when it could not all be written.
bool write_trace_frame(TraceWriter& trace, int64_t frame);
