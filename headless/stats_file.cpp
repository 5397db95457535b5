#include "headless/stats_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "files/write_all.h"
#include "sim/world.h"

// One frame's rows: nine of at most about 90 characters each.
constexpr int STATS_FRAME_TEXT_MAX = 9 * 128;

// Writes text after the table's whole rows. A short write leaves part of a row: it is cut off,
// so that a table that space comes back to never holds rows glued together.
static bool append(StatsWriter& stats, const char* text, size_t length) {
    if (write_all(stats.fd, std::string_view(text, length))) {
        stats.whole_bytes += static_cast<int64_t>(length);
        return true;
    }
    // A pipe or a device cannot be cut; what reached it stays.
    [[maybe_unused]] const bool cut = ftruncate(stats.fd, stats.whole_bytes) == 0;
    close(stats.fd);
    stats.fd = -1;
    return false;
}

bool open_stats_file(StatsWriter& stats, const char* path, int64_t every) {
    stats.fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    stats.every = every;
    stats.whole_bytes = 0;
    return stats.fd >= 0 && append(stats, STATS_HEADER, std::strlen(STATS_HEADER));
}

bool write_stats_frame(StatsWriter& stats, int64_t frame, const Synchrony& measured) {
    if (stats.fd < 0 || frame % stats.every != 0) return true;
    char text[STATS_FRAME_TEXT_MAX];
    int length = 0;
    for (int s = 1; s < SWARM_COUNT; ++s) {
        const SwarmSynchrony& m = measured.swarm[s];
        length += std::snprintf(text + length, sizeof text - length,
                                "%" PRId64 ",%d,%d,%d,%d,%.4f,%.4f\n", frame, s,
                                swarms[s].target_swarm, m.population, m.flashing, m.order, m.lock);
    }
    return append(stats, text, static_cast<size_t>(length));
}

bool close_stats_file(StatsWriter& stats) {
    if (stats.fd < 0) return true;
    const bool closed = close(stats.fd) == 0;
    stats.fd = -1;
    return closed;
}
