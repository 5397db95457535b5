#include "sim/steering.h"

#include <cstdint>
#include <cstdlib>

#include "sim/geometry.h"
#include "sim/world.h"

int steer_firefly(int index) {
    Firefly& f = fireflies[index];
    const Swarm& s = swarm_of(f);
    const float target = static_cast<float>(s.target_swarm);
    const double range = s.communication / 10.0;  // pixels
    const int32_t heading = trunc_to_int(f.heading);

    float best = NO_TARGET_DISTANCE;
    bool stop = false;
    int partner = -1;

    // One pass in slot order: the order decides which candidate ends the walk, which of two
    // equally distant candidates wins, and which communicating firefly comes last.
    for (int j = 0; j < firefly_capacity && !stop; ++j) {
        const Firefly& other = fireflies[j];
        if (!is_live(f) || other.swarm != target || j == index) continue;

        float d;
        distance(d, f.x, f.y, other.x, other.y);
        if (d < best && d > TARGET_MIN_DISTANCE) {
            int b;
            bearing(b, f.x, f.y, other.x, other.y);
            const int32_t turn = angle_difference(heading, b);
            if (std::llabs(static_cast<int64_t>(turn)) < s.field_of_view) {
                f.target_distance = d;
                f.target_turn = static_cast<float>(turn);
                best = d;
                if (d < TARGET_STOP_DISTANCE) stop = true;
            }
        }
        // Communication ignores the minimum distance and the field of view.
        if (d < range) partner = j;
    }

    if (partner != -1) f.glow_phase = fireflies[partner].glow_phase;
    f.glow_phase = static_cast<float>(f.glow_phase + random_range(5, 100) / 1000.0);

    return best < NO_TARGET_DISTANCE ? trunc_to_int(best) : 0;
}
