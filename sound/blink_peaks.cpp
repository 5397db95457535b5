#include "sound/blink_peaks.h"

#include <cstring>

namespace {

constexpr int QUARTER_SHIFT = 4;
constexpr uint8_t ARMED = 1 << 6;
constexpr uint8_t SWARM_BITS = 0x0f;
constexpr float QUARTERS_PER_RADIAN = static_cast<float>(2.0 / 3.14159265358979323846);

constexpr double HALF_PI = 1.57079632679489661923;
constexpr double TWO_PI = 6.28318530717958647692;

// The most a firefly's own blink moves in a frame, radians: one frame's largest advance.
constexpr double MOST_A_FRAME = 0.1;

constexpr bool rising(int q) { return ((q + 1) & 2) == 0; }  // quarters 0 and 3
constexpr bool bright(int q) { return (q & 2) == 0; }        // quarters 0 and 1

// Plain arithmetic and truncation only, so the answer does not depend on the C library.
// Phases here are 0 or more, so 3 pi / 2 on top makes the truncation a floor.
float when_peaked(float phase) {
    const double past = static_cast<double>(phase) + 3.0 * HALF_PI;
    const double turns = static_cast<double>(static_cast<int64_t>(past * (1.0 / TWO_PI)));
    const double since_peak = past - turns * TWO_PI;
    if (!(since_peak < MOST_A_FRAME)) return 0.0f;
    return static_cast<float>(1.0 - since_peak * (1.0 / MOST_A_FRAME));
}

// One slot: its byte for this frame, given its byte for the frame before; sets `sounds`.
uint8_t follow_slot(const Firefly& f, uint8_t last, bool& sounds) {
    sounds = false;
    const float phase = f.glow_phase;
    if (!(is_live(f) && phase >= 0.0f && phase < PHASE_LIMIT)) return 0;
    // Swarm numbers are the whole numbers 0 to 9, so the truncation is exact.
    const int s = static_cast<int>(f.swarm);
    const int q = static_cast<int>(phase * QUARTERS_PER_RADIAN) & 3;
    const int now = s | q << QUARTER_SHIFT;
    // A new firefly, or one of another swarm, starts afresh.
    const bool same = ((now ^ last) & SWARM_BITS) == 0;
    const int before = (last >> QUARTER_SHIFT) & 3;
    const bool was_armed = (last & ARMED) != 0;
    sounds = same && was_armed && rising(before) && !rising(q) && (bright(before) || bright(q));
    const bool armed = !same || !bright(q) || (was_armed && !sounds);
    return static_cast<uint8_t>(now | (armed ? ARMED : 0));
}

// Fills in each listed peak's swarm, place and moment, and the counts per swarm.
void describe_peaks(BlinkPeaks& out) {
    for (int32_t& n : out.per_swarm) n = 0;
    for (int k = 0; k < out.count; ++k) {
        BlinkPeak& p = out.peak[k];
        const Firefly& f = fireflies[p.slot];
        p.swarm = static_cast<int32_t>(f.swarm);
        p.x = f.x;
        p.when = when_peaked(f.glow_phase);
        ++out.per_swarm[p.swarm];
    }
}

}  // namespace

void find_blink_peaks(BlinkMemory& memory, BlinkPeaks& out) {
    out.count = 0;
    for (int i = 0; i < firefly_capacity; ++i) {
        bool sounds;
        memory.slot[i] = follow_slot(fireflies[i], memory.slot[i], sounds);
        if (sounds) out.peak[out.count++].slot = i;
    }
    describe_peaks(out);
}

void forget_blink_peaks(BlinkMemory& memory) { std::memset(memory.slot, 0, sizeof memory.slot); }
