// The steering grid's layout and state, and the cell a position is filed under. Internal to
// sim/: only the grid's upkeep, the cell boxes, the view cone and the steering searches
// include it.
#pragma once

#include <cstdint>

#include "sim/world.h"

// The field is cut into cells of CELL_PX by CELL_PX, the last column and row cut short where
// the field's size is no multiple of it. Slots off the field at the start of the frame (pushed
// by the mouse, or infinite or NaN after extreme settings) share one extra cell after the
// field's, which every search looks at.
constexpr int CELL_PX = 128;
constexpr int GRID_COLUMNS_MOST = (FIELD_W_MOST + CELL_PX - 1) / CELL_PX;
constexpr int GRID_ROWS_MOST = (FIELD_H_MOST + CELL_PX - 1) / CELL_PX;
constexpr int BUCKETS_MOST = GRID_COLUMNS_MOST * GRID_ROWS_MOST + 1;
constexpr int NO_SLOT = -1;

// A slot number as the grid lists it.
using Slot = int32_t;

// A firefly that has moved on since the grid was built stays filed where it was as long as it
// is within the loose reach on each axis. The loose reach is what the fastest swarm can move in
// one frame, at most LOOSE_MAX_PX: beyond that, searches would grow more than the few strays
// cost.
constexpr float LOOSE_MAX_PX = 16.0f;
// Searches reach this much beyond their radius, far more than the rounding of a float
// difference could ever move a distance.
constexpr double MARGIN_PX = 1.0;

// The bounding box of a narrow view cone of unit length: how far it reaches from the walker
// along each axis, each bound taken outwards by a little for rounding.
struct ConeExtent {
    float left, right, up, down;
};

// Everything the fast steering keeps between calls. All of it is worked out again from the
// firefly table when the grid is built, except the hints and the cone boxes, which are
// worked out when a swarm's field of view changes.
struct SteeringGrid {
    // The cells of the run's field, set when the grid is reset: columns by rows, then the
    // outside cell, which is the last bucket.
    int columns, rows, outside_cell, buckets;

    // Slots by swarm, cell and ascending slot number: bucket b of swarm s holds
    // entries[start[s][b]] up to entries[start[s][b + 1]] - 1.
    Slot entries[FIREFLIES_MOST + 8];  // padded for reading eight at a time
    int start[SWARM_COUNT][BUCKETS_MOST + 1];
    // Per swarm, its slots in ascending order, and each slot's place in that list.
    Slot members[SWARM_COUNT][FIREFLIES_MOST];
    int member_count[SWARM_COUNT];
    Slot member_place[FIREFLIES_MOST];
    // Slots that moved beyond the loose reach of where they are filed, per swarm in the order
    // they strayed; every search looks through them.
    Slot strays[SWARM_COUNT][FIREFLIES_MOST];
    int stray_count[SWARM_COUNT];

    // Current positions by entry, in bucket order, for scanning a bucket four entries at a
    // time; padded so that a group of four may run past the last bucket's end.
    float entry_x[FIREFLIES_MOST + 4], entry_y[FIREFLIES_MOST + 4];
    Slot entry_of[FIREFLIES_MOST];

    int8_t slot_swarm[FIREFLIES_MOST];  // -1 for a slot that belongs to no searchable swarm
    // Where each slot stood when the grid was built, and the cell it is filed under.
    int16_t filed_cell[FIREFLIES_MOST];
    bool strayed[FIREFLIES_MOST];
    float filed_x[FIREFLIES_MOST], filed_y[FIREFLIES_MOST];
    // Current positions, kept equal to the table's, side by side for quick reading.
    float pos_x[FIREFLIES_MOST], pos_y[FIREFLIES_MOST];

    // The loose reach in pixels, chosen from the swarms' speeds when the grid is built, and how
    // far from its cell's centre a slot filed there may then stand.
    float loose_px;
    double cell_reach_px;

    // Each firefly's target and partner of its previous steering step, NO_SLOT for none.
    // Fireflies move little from one frame to the next, so these are likely to qualify again;
    // tested first, they narrow every search from the start. They are only hints: each is
    // tested exactly before it counts, and a search finds any better choice as it would
    // without them, so no choice depends on them.
    Slot previous_target[FIREFLIES_MOST];
    Slot previous_partner[FIREFLIES_MOST];

    // Per swarm and whole-degree heading, the boxes of a narrow view cone, for the field of
    // view they were worked out for.
    ConeExtent cone_extent[SWARM_COUNT][360];
    int cone_extent_view[SWARM_COUNT];
    bool cone_extent_ready[SWARM_COUNT];

    // False in the all-zero grid the program starts with: the first build resets it.
    bool was_reset;
};

extern SteeringGrid steering_grid;

// The cell of a position, the outside cell off the field (or infinite or NaN).
inline int cell_at(float x, float y) {
    if (!(x >= 0.0f && x < static_cast<float>(field_w_px) && y >= 0.0f &&
          y < static_cast<float>(field_h_px))) {
        return steering_grid.outside_cell;
    }
    return static_cast<int>(y) / CELL_PX * steering_grid.columns + static_cast<int>(x) / CELL_PX;
}

// Whether slot j is a candidate of the walk: a member of the target swarm other than the
// walker itself.
inline bool is_candidate(int swarm, int self, int j) {
    return j >= 0 && j < firefly_capacity && j != self && steering_grid.slot_swarm[j] == swarm;
}
