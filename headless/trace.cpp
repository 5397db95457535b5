#include "headless/trace.h"

#include <cinttypes>
#include <cstring>

#include "ui/interface_state.h"

void write_trace_frame(TraceWriter& trace, int64_t frame) {
    std::FILE* out = trace.out;
    std::fprintf(out, "u %" PRId64 " %d %d %d %d %d %d %d %d %d %s\n", frame, selected_swarm,
                 selected_row, panel_visible, paused, low_detail, key_cooldown, mouse_tool,
                 mouse_idle_frames, status_frames, status_text);
    for (int r = 0; r < SWARM_COUNT; ++r) {
        if (trace.started && std::memcmp(&swarms[r], &trace.previous[r], sizeof(Swarm)) == 0)
            continue;
        std::fprintf(out, "s %" PRId64 " %d", frame, r);
        for (int f = 0; f < SWARM_FIELDS; ++f) std::fprintf(out, " %d", swarm_field(swarms[r], f));
        std::fputc('\n', out);
        trace.previous[r] = swarms[r];
    }
    trace.started = true;
    for (int i = 0; i < MAX_FIREFLIES; ++i) {
        const Firefly& f = fireflies[i];
        if (!is_live(f)) continue;
        std::fprintf(out,
                     "f %" PRId64 " %d %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g\n",
                     frame, i, f.swarm, f.x, f.y, f.heading, f.speed, f.target_distance,
                     f.target_turn, f.flutter_phase, f.glow_phase, f.steer, f.wander_side);
    }
}
