#include "sim/simulation_step.h"

#include "sim/motion.h"
#include "sim/steering.h"
#include "sim/steering_grid.h"
#include "sim/steering_search.h"
#include "sim/world.h"

void run_simulation_step(bool reference) {
    if (reference) {
        for (int i = 0; i < firefly_capacity; ++i) {
            if (!is_live(fireflies[i])) continue;
            fireflies[i].steer = static_cast<float>(steer_firefly(i));
            move_firefly(i);
        }
        return;
    }
    build_steering_grid();
    for (int i = 0; i < firefly_capacity; ++i) {
        if (!is_live(fireflies[i])) continue;
        fireflies[i].steer = static_cast<float>(steer_firefly_fast(i));
        move_firefly(i);
        update_steering_grid(i);
    }
}
