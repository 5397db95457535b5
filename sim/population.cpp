#include "sim/population.h"

#include <algorithm>

#include "sim/geometry.h"
#include "sim/world.h"

// Spawns into the lowest free slot, looking from `slot` on: the caller knows every slot below
// it is live. Leaves `slot` one past the one taken.
static bool spawn_from(int& slot, int x, int y, int swarm) {
    while (slot < firefly_capacity && is_live(fireflies[slot])) ++slot;
    if (slot == firefly_capacity) return false;

    // All eleven fields are written, in this order, so nothing of the slot's last owner stays;
    // the three random draws come in the order flutter, glow, wander side.
    Firefly& f = fireflies[slot];
    f.swarm = static_cast<float>(swarm);
    f.x = static_cast<float>(x);
    f.y = static_cast<float>(y);
    f.heading = 0.0f;
    f.speed = 0.0f;
    f.target_distance = 10.0f;
    f.target_turn = 0.0f;
    f.flutter_phase = static_cast<float>(random_range(10, 100) / 10.0);
    f.glow_phase = static_cast<float>(random_range(10, 100) / 10.0);
    f.steer = 0.0f;
    f.wander_side = static_cast<float>(random_range(0, 2));
    ++slot;
    return true;
}

bool spawn_firefly(int x, int y, int swarm) {
    int slot = 0;
    return spawn_from(slot, x, y, swarm);
}

void update_population(int swarm, int wanted) {
    const float member = static_cast<float>(swarm);
    int count = 0;
    // Counting from slot 0 upwards keeps the lowest-numbered members, so the lure in slot 0
    // is never the one freed.
    for (int i = 0; i < firefly_capacity; ++i) {
        if (fireflies[i].swarm != member) continue;
        ++count;
        if (count > wanted) {
            fireflies[i].swarm = 0.0f;
            --count;
        }
    }
    // Nothing is freed while the new members come, so each looks on from the slot the one
    // before it took: a big table fills in one pass, not one pass a firefly.
    int free_from = 0;
    while (count < wanted) {
        const int y = random_range(0, field_h_px);
        const int x = random_range(0, field_w_px);
        // Once the table is full no later attempt of this call can succeed either; stopping
        // here keeps a huge population from holding up the frame.
        if (!spawn_from(free_from, x, y, swarm)) break;
        ++count;
    }
}

// Whether update_population(s, swarms[s].population) would change nothing for every swarm: its
// member count is what it wants, or it wants none or fewer and has none. A member is a slot
// holding exactly the swarm's number, as update_population counts them.
static bool populations_settled() {
    int members[SWARM_COUNT] = {};
    for (int i = 0; i < firefly_capacity; ++i) {
        const float swarm = fireflies[i].swarm;
        if (!(swarm >= 1.0f && swarm < static_cast<float>(SWARM_COUNT))) continue;
        const int s = static_cast<int>(swarm);
        if (static_cast<float>(s) == swarm) ++members[s];
    }
    for (int s = 1; s < SWARM_COUNT; ++s) {
        if (members[s] != std::max(0, swarms[s].population)) return false;
    }
    return true;
}

void update_populations(bool reference) {
    if (!reference && populations_settled()) return;
    for (int s = 1; s < SWARM_COUNT; ++s) update_population(s, swarms[s].population);
}
