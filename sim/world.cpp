#include "sim/world.h"

#include <cstring>

#include "sim/random.h"
#include "sim/steering_grid.h"

static_assert(sizeof(Firefly) == 11 * sizeof(float), "a firefly is eleven floats");
static_assert(sizeof(Swarm) == SWARM_FIELDS * sizeof(int32_t), "a swarm is twenty ints");

int32_t Swarm::*const SWARM_FIELD[SWARM_FIELDS] = {
    &Swarm::spare_0,       &Swarm::highest_speed, &Swarm::lowest_speed, &Swarm::turning_speed,
    &Swarm::field_of_view, &Swarm::acceleration,  &Swarm::braking,      &Swarm::color_red,
    &Swarm::color_green,   &Swarm::color_blue,    &Swarm::population,   &Swarm::target_swarm,
    &Swarm::communication, &Swarm::spare_13,      &Swarm::spare_14,     &Swarm::spare_15,
    &Swarm::spare_16,      &Swarm::spare_17,      &Swarm::spare_18,     &Swarm::spare_19,
};

Firefly fireflies[MAX_FIREFLIES];
Swarm swarms[SWARM_COUNT];

void clear_world() {
    std::memset(fireflies, 0, sizeof fireflies);
    std::memset(swarms, 0, sizeof swarms);
    seed_random(1);
    reset_steering_grid();
}
