#include "sim/motion.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "sim/geometry.h"
#include "sim/world.h"

// Turns towards the chosen neighbour no faster than the turning speed, accelerating while the
// neighbour is far and braking whenever the turn has to be cut.
static void pursue(Firefly& f, const Swarm& s) {
    const int32_t turn = trunc_to_int(f.target_turn);
    const int32_t dist = trunc_to_int(f.target_distance);
    if (dist > 10) f.speed = static_cast<float>(f.speed + s.acceleration / 10.0);
    const int64_t size = std::llabs(static_cast<int64_t>(turn));
    const double sign = turn > 0 ? 1.0 : -1.0;
    if (size > s.turning_speed) {
        f.heading = static_cast<float>(f.heading + sign * s.turning_speed);
        f.speed = static_cast<float>(f.speed - s.braking / 10.0);
    } else {
        f.heading = static_cast<float>(f.heading + sign * static_cast<double>(size));
    }
}

// Without a neighbour a firefly circles at half its turning speed, the way its wander side
// says.
static void wander(Firefly& f, const Swarm& s) {
    const int32_t half = s.turning_speed / 2;
    if (f.wander_side == 1.0f) {
        f.heading = static_cast<float>(static_cast<double>(f.heading) - half);
    } else {
        f.heading = static_cast<float>(static_cast<double>(f.heading) + half);
    }
}

void move_firefly(int index) {
    Firefly& f = fireflies[index];
    const Swarm& s = swarm_of(f);

    if (f.steer > 0.0f) {
        pursue(f, s);
    } else {
        wander(f, s);
    }

    // Each wrap is a single step, so a change of more than a full turn stays outside.
    if (f.heading >= 360.0f) f.heading = static_cast<float>(f.heading - 360.0);
    if (f.heading < 0.0f) f.heading = static_cast<float>(f.heading + 360.0);

    // The upper clamp comes second, so the highest speed wins when the bounds cross.
    if (static_cast<double>(f.speed) < s.lowest_speed) f.speed = static_cast<float>(s.lowest_speed);
    if (static_cast<double>(f.speed) > s.highest_speed)
        f.speed = static_cast<float>(s.highest_speed);

    step_polar(f.x, f.y, trunc_to_int(f.heading), f.speed);

    // Fast fireflies flutter faster, because the phase advances with the speed; the sideways
    // step is a whole number of pixels, +1 or -1 for a third of each cycle.
    f.flutter_phase = static_cast<float>(f.flutter_phase + f.speed / 40.0);
    const int32_t w = trunc_to_int(2.0 * std::sin(static_cast<double>(f.flutter_phase)));
    step_polar(f.x, f.y, trunc_to_int(f.heading + 90.0), static_cast<float>(w));

    // A position past an edge of the field comes back in at the other, by one step.
    const double WIDTH = field_w_px;
    const double HEIGHT = field_h_px;
    if (f.x >= static_cast<float>(WIDTH)) f.x = static_cast<float>(f.x - WIDTH);
    if (f.y >= static_cast<float>(HEIGHT)) f.y = static_cast<float>(f.y - HEIGHT);
    if (f.x < 0.0f) f.x = static_cast<float>(f.x + WIDTH);
    if (f.y < 0.0f) f.y = static_cast<float>(f.y + HEIGHT);
}
