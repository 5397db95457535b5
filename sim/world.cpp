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

Firefly fireflies[FIREFLIES_MOST];
Swarm swarms[SWARM_COUNT];
int field_w_px = SCREEN_W_PX;
int field_h_px = SCREEN_H_PX;
int firefly_capacity = MAX_FIREFLIES;

void clear_world() {
    std::memset(fireflies, 0, sizeof fireflies);
    std::memset(swarms, 0, sizeof swarms);
    seed_random(1);
    reset_steering_grid();
}

bool is_field_size(int w, int h) {
    return w >= FIELD_W_LEAST && w <= FIELD_W_MOST && h >= FIELD_H_LEAST && h <= FIELD_H_MOST;
}

bool is_firefly_capacity(int capacity) {
    return capacity >= FIREFLIES_LEAST && capacity <= FIREFLIES_MOST;
}

void set_field(int w, int h, int capacity) {
    field_w_px = w;
    field_h_px = h;
    firefly_capacity = capacity;
    std::memset(fireflies, 0, sizeof fireflies);
    reset_steering_grid();
}
