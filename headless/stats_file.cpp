#include "headless/stats_file.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "sim/world.h"

// One frame's rows: nine of at most about 90 characters each.
constexpr int STATS_FRAME_TEXT_MAX = 9 * 128;

bool open_stats_file(StatsWriter& stats, const std::string& path, int64_t every) {
    stats.every = every;
    return open_output_file(stats.file, path) &&
           append_piece(stats.file, STATS_HEADER, std::strlen(STATS_HEADER));
}

bool write_stats_frame(StatsWriter& stats, int64_t frame, const Synchrony& measured) {
    if (frame % stats.every != 0) return true;
    char text[STATS_FRAME_TEXT_MAX];
    int length = 0;
    for (int s = 1; s < SWARM_COUNT; ++s) {
        const SwarmSynchrony& m = measured.swarm[s];
        length += std::snprintf(text + length, sizeof text - length,
                                "%" PRId64 ",%d,%d,%d,%d,%.4f,%.4f\n", frame, s,
                                swarms[s].target_swarm, m.population, m.flashing, m.order, m.lock);
    }
    return append_piece(stats.file, text, static_cast<size_t>(length));
}
