// The steering grid's layout and state, and the cell a position is filed under. Internal to
// sim/: only the grid's upkeep, the cell boxes, the view cone and the steering searches
// include it.
#pragma once

#include <cstdint>

#include "sim/world.h"

constexpr int CELL_PX = 128;
constexpr int GRID_COLUMNS = SCREEN_W_PX / CELL_PX;
constexpr int GRID_ROWS = SCREEN_H_PX / CELL_PX;
constexpr int FIELD_CELLS = GRID_COLUMNS * GRID_ROWS;
// Slots off the field at the start of the frame (pushed by the mouse, or infinite or NaN after
// extreme settings) share one extra cell that every search looks at.
constexpr int OUTSIDE_CELL = FIELD_CELLS;
constexpr int BUCKETS = FIELD_CELLS + 1;
constexpr int NO_SLOT = -1;

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
    // Slots by swarm, cell and ascending slot number: bucket b of swarm s holds
    // entries[start[s][b]] up to entries[start[s][b + 1]] - 1.
    int16_t entries[MAX_FIREFLIES + 8];  // padded for reading eight at a time
    int start[SWARM_COUNT][BUCKETS + 1];
    // Per swarm, its slots in ascending order, and each slot's place in that list.
    int16_t members[SWARM_COUNT][MAX_FIREFLIES];
    int member_count[SWARM_COUNT];
    int16_t member_place[MAX_FIREFLIES];
    // Slots that moved beyond the loose reach of where they are filed, per swarm in the order
    // they strayed; every search looks through them.
    int16_t strays[SWARM_COUNT][MAX_FIREFLIES];
    int stray_count[SWARM_COUNT];

    // Current positions by entry, in bucket order, for scanning a bucket four entries at a
    // time; padded so that a group of four may run past the last bucket's end.
    float entry_x[MAX_FIREFLIES + 4], entry_y[MAX_FIREFLIES + 4];
    int16_t entry_of[MAX_FIREFLIES];

    int8_t slot_swarm[MAX_FIREFLIES];  // -1 for a slot that belongs to no searchable swarm
    // Where each slot stood when the grid was built, and the cell it is filed under.
    int16_t filed_cell[MAX_FIREFLIES];
    bool strayed[MAX_FIREFLIES];
    float filed_x[MAX_FIREFLIES], filed_y[MAX_FIREFLIES];
    // Current positions, kept equal to the table's, side by side for quick reading.
    float pos_x[MAX_FIREFLIES], pos_y[MAX_FIREFLIES];

    // The loose reach in pixels, chosen from the swarms' speeds when the grid is built, and how
    // far from its cell's centre a slot filed there may then stand.
    float loose_px;
    double cell_reach_px;

    // Each firefly's target and partner of its previous steering step, NO_SLOT for none.
    // Fireflies move little from one frame to the next, so these are likely to qualify again;
    // tested first, they narrow every search from the start. They are only hints: each is
    // tested exactly before it counts, and a search finds any better choice as it would
    // without them, so no choice depends on them.
    int16_t previous_target[MAX_FIREFLIES];
    int16_t previous_partner[MAX_FIREFLIES];

    // Per swarm and whole-degree heading, the boxes of a narrow view cone, for the field of
    // view they were worked out for.
    ConeExtent cone_extent[SWARM_COUNT][360];
    int cone_extent_view[SWARM_COUNT];
    bool cone_extent_ready[SWARM_COUNT];

    // False in the all-zero grid the program starts with: the first build resets it.
    bool was_reset;
};

extern SteeringGrid steering_grid;

// The cell of a position, OUTSIDE_CELL off the field (or infinite or NaN).
inline int cell_at(float x, float y) {
    if (!(x >= 0.0f && x < static_cast<float>(SCREEN_W_PX) && y >= 0.0f &&
          y < static_cast<float>(SCREEN_H_PX))) {
        return OUTSIDE_CELL;
    }
    return static_cast<int>(y) / CELL_PX * GRID_COLUMNS + static_cast<int>(x) / CELL_PX;
}

// Whether slot j is a candidate of the walk: a member of the target swarm other than the
// walker itself.
inline bool is_candidate(int swarm, int self, int j) {
    return j >= 0 && j < MAX_FIREFLIES && j != self && steering_grid.slot_swarm[j] == swarm;
}
