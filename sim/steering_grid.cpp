#include "sim/steering_grid.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "sim/steering_grid_state.h"
#include "sim/view_cone.h"
#include "sim/world.h"

namespace {

// Every slot filed in a cell lies within this distance of the cell's centre.
double reach_from_cell_centre(float loose_px) {
    return (CELL_PX / 2 + loose_px) * M_SQRT2 + MARGIN_PX;
}

// A firefly's speed lies between its swarm's lowest and highest speed, or is the highest when
// they cross; each frame it moves by its speed along its heading and by up to two pixels of
// flutter across it. A pixel more covers rounding.
void choose_loose_reach() {
    double fastest = 0.0;
    for (int s = 1; s < SWARM_COUNT; ++s) {
        fastest = std::max({fastest, std::fabs(static_cast<double>(swarms[s].highest_speed)),
                            std::fabs(static_cast<double>(swarms[s].lowest_speed))});
    }
    SteeringGrid& g = steering_grid;
    g.loose_px = static_cast<float>(std::min(static_cast<double>(LOOSE_MAX_PX), fastest + 3.0));
    g.cell_reach_px = reach_from_cell_centre(g.loose_px);
}

int swarm_number(float swarm) {
    if (!(swarm >= 0.0f && swarm < static_cast<float>(SWARM_COUNT))) return -1;
    const int s = static_cast<int>(swarm);
    return static_cast<float>(s) == swarm ? s : -1;
}

}  // namespace

void reset_steering_grid() {
    SteeringGrid& g = steering_grid;
    std::memset(&g, 0, sizeof g);
    g.columns = (field_w_px + CELL_PX - 1) / CELL_PX;
    g.rows = (field_h_px + CELL_PX - 1) / CELL_PX;
    g.outside_cell = g.columns * g.rows;
    g.buckets = g.outside_cell + 1;
    g.loose_px = LOOSE_MAX_PX;
    g.cell_reach_px = reach_from_cell_centre(LOOSE_MAX_PX);
    for (int i = 0; i < firefly_capacity; ++i)
        g.previous_target[i] = g.previous_partner[i] = NO_SLOT;
    g.was_reset = true;
}

void build_steering_grid() {
    SteeringGrid& g = steering_grid;
    if (!g.was_reset) reset_steering_grid();
    prepare_cone_extents();
    choose_loose_reach();
    for (auto& s : g.start) {
        for (int b = 0; b <= g.buckets; ++b) s[b] = 0;
    }
    for (int& n : g.member_count) n = 0;
    for (int& n : g.stray_count) n = 0;
    // Count the slots of every bucket, then lay the buckets out one after the other.
    for (int i = 0; i < firefly_capacity; ++i) {
        const Firefly& f = fireflies[i];
        g.pos_x[i] = g.filed_x[i] = f.x;
        g.pos_y[i] = g.filed_y[i] = f.y;
        g.strayed[i] = false;
        const int s = swarm_number(f.swarm);
        g.slot_swarm[i] = static_cast<int8_t>(s);
        if (s < 0) continue;
        g.filed_cell[i] = static_cast<int16_t>(cell_at(f.x, f.y));
        ++g.start[s][g.filed_cell[i] + 1];
        g.member_place[i] = g.member_count[s];
        g.members[s][g.member_count[s]++] = i;
    }
    // Each count sits one place after its bucket, so the running sum gives where every
    // bucket begins; the swarms follow one another in the one array.
    int offset = 0;
    for (auto& s : g.start) {
        for (int b = 0; b <= g.buckets; ++b) {
            offset += s[b];
            s[b] = offset;
        }
    }
    // Fill in slot order, so each bucket lists its slots in ascending order.
    static int fill[SWARM_COUNT][BUCKETS_MOST];
    for (int s = 0; s < SWARM_COUNT; ++s) {
        for (int b = 0; b < g.buckets; ++b) fill[s][b] = g.start[s][b];
    }
    for (int i = 0; i < firefly_capacity; ++i) {
        const int s = g.slot_swarm[i];
        if (s < 0) continue;
        const int k = fill[s][g.filed_cell[i]]++;
        g.entries[k] = i;
        g.entry_of[i] = k;
        g.entry_x[k] = fireflies[i].x;
        g.entry_y[k] = fireflies[i].y;
    }
}

void update_steering_grid(int index) {
    SteeringGrid& g = steering_grid;
    const Firefly& f = fireflies[index];
    g.pos_x[index] = f.x;
    g.pos_y[index] = f.y;
    const int s = g.slot_swarm[index];
    if (s < 0) return;
    g.entry_x[g.entry_of[index]] = f.x;
    g.entry_y[g.entry_of[index]] = f.y;
    if (g.strayed[index] || g.filed_cell[index] == g.outside_cell) return;
    if (!(std::fabs(f.x - g.filed_x[index]) <= g.loose_px &&
          std::fabs(f.y - g.filed_y[index]) <= g.loose_px)) {
        g.strayed[index] = true;
        g.strays[s][g.stray_count[s]++] = index;
    }
}
