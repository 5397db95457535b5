#include "sim/world.h"

#include <cstring>

#include "sim/random.h"
#include "sim/steering_grid.h"

static_assert(sizeof(Firefly) == 11 * sizeof(float), "a firefly is eleven floats");
static_assert(sizeof(Swarm) == SWARM_FIELDS * sizeof(int32_t), "a swarm is twenty ints");

// A position the field table gives twice leaves another one without a member.
static_assert(
    [] {
        for (int32_t Swarm::*member : SWARM_FIELD) {
            if (member == nullptr) return false;
        }
        return true;
    }(),
    "the field table holds every position of the record once");

Firefly fireflies[MAX_FIREFLIES];
Swarm swarms[SWARM_COUNT];

void clear_world() {
    std::memset(fireflies, 0, sizeof fireflies);
    std::memset(swarms, 0, sizeof swarms);
    seed_random(1);
    reset_steering_grid();
}
