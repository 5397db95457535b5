#include "headless/trace.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "ui/interface_state.h"

// Adds a formatted line to the frame's text, making room when it does not fit.
static void add(TraceWriter& trace, const char* format, ...) {
    for (;;) {
        const size_t room = trace.text.size() - trace.length;
        std::va_list args;
        va_start(args, format);
        const int n = std::vsnprintf(trace.text.data() + trace.length, room, format, args);
        va_end(args);
        if (n < 0) return;
        if (static_cast<size_t>(n) < room) {
            trace.length += static_cast<size_t>(n);
            return;
        }
        trace.text.resize(2 * trace.text.size() + static_cast<size_t>(n) + 1);
    }
}

bool write_trace_frame(TraceWriter& trace, int64_t frame) {
    trace.length = 0;
    add(trace, "u %" PRId64 " %d %d %d %d %d %d %d %d %d %s\n", frame, selected_swarm, selected_row,
        panel_visible, paused, low_detail, key_cooldown, mouse_tool, mouse_idle_frames,
        status_frames, status_text);
    for (int r = 0; r < SWARM_COUNT; ++r) {
        if (trace.started && std::memcmp(&swarms[r], &trace.previous[r], sizeof(Swarm)) == 0)
            continue;
        add(trace, "s %" PRId64 " %d", frame, r);
        for (int f = 0; f < SWARM_FIELDS; ++f) add(trace, " %d", swarm_field(swarms[r], f));
        add(trace, "\n");
        trace.previous[r] = swarms[r];
    }
    trace.started = true;
    for (int i = 0; i < firefly_capacity; ++i) {
        const Firefly& f = fireflies[i];
        if (!is_live(f)) continue;
        add(trace, "f %" PRId64 " %d %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g\n",
            frame, i, f.swarm, f.x, f.y, f.heading, f.speed, f.target_distance, f.target_turn,
            f.flutter_phase, f.glow_phase, f.steer, f.wander_side);
    }
    return append_piece(trace.file, trace.text.data(), trace.length);
}
