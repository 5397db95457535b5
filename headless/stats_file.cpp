#include "headless/stats_file.h"

#include <cinttypes>

#include "sim/world.h"

// One frame's rows: nine of at most about 90 characters each.
constexpr int STATS_FRAME_TEXT_MAX = 9 * 128;

// The file's own buffer holds a whole frame's rows, and it is emptied after every frame, so a
// frame's rows never leave it in pieces.
static char stats_buffer[4 * STATS_FRAME_TEXT_MAX];

bool open_stats_file(StatsWriter& stats, const char* path, int64_t every) {
    stats.out = std::fopen(path, "w");
    stats.every = every;
    stats.failed = false;
    if (stats.out == nullptr) return false;
    std::setvbuf(stats.out, stats_buffer, _IOFBF, sizeof stats_buffer);
    if (std::fputs(STATS_HEADER, stats.out) < 0 || std::fflush(stats.out) != 0) {
        std::fclose(stats.out);
        stats.out = nullptr;
        return false;
    }
    return true;
}

void write_stats_frame(StatsWriter& stats, int64_t frame, const Synchrony& measured) {
    if (stats.out == nullptr || frame % stats.every != 0) return;
    char text[STATS_FRAME_TEXT_MAX];
    int length = 0;
    for (int s = 1; s < SWARM_COUNT; ++s) {
        const SwarmSynchrony& m = measured.swarm[s];
        length += std::snprintf(text + length, sizeof text - length,
                                "%" PRId64 ",%d,%d,%d,%d,%.4f,%.4f\n", frame, s,
                                swarms[s].target_swarm, m.population, m.flashing, m.order, m.lock);
    }
    if (std::fwrite(text, 1, length, stats.out) != static_cast<size_t>(length) ||
        std::fflush(stats.out) != 0)
        stats.failed = true;
}

bool close_stats_file(StatsWriter& stats) {
    if (stats.out == nullptr) return !stats.failed;
    const bool closed = std::fclose(stats.out) == 0;
    stats.out = nullptr;
    return closed && !stats.failed;
}
