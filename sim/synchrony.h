// How far the swarms blink in step, read from the firefly table and never changing it. A
// firefly's blink is a point on the unit circle at its glow phase; a swarm whose points all
// coincide blinks as one, and points spread evenly round the circle cancel out.
#pragma once

#include <cstdint>

#include "sim/world.h"

// A swarm whose order stays at least this high for SYNC_HOLD_FRAMES frames in a row has
// fallen into step.
constexpr double SYNC_ORDER = 0.9;
constexpr int SYNC_HOLD_FRAMES = 120;

struct SwarmSynchrony {
    int32_t population;  // live members
    int32_t flashing;    // members in the brighter half of their blink: sin(glow phase) > 0
    double order;        // length of the mean of the members' points: 1 all in step, 0 none
    double lock;         // the same over the members pooled with the target swarm's members
};

// The measures of swarms 1 to 9 (entry 0 is unused), and the order of all live fireflies
// together.
struct Synchrony {
    SwarmSynchrony swarm[SWARM_COUNT];
    double global_order;
};

// Measures the table as it stands. Computed in double precision; a swarm without members has
// order 0, and a swarm whose target is outside 1 to 9 has lock 0. Each firefly's point comes
// from blink_point, which the glow has usually worked out already in the same frame.
void measure_synchrony(Synchrony& out);

// The same measures with every point worked out afresh: the straightforward way, which
// measure_synchrony matches bit for bit.
void measure_synchrony_plain(Synchrony& out);

// The order of every swarm and of all fireflies together over the latest frames, oldest first
// from `next` on once the ring is full.
constexpr int ORDER_HISTORY_FRAMES = 600;
struct OrderHistory {
    float swarm_order[ORDER_HISTORY_FRAMES][SWARM_COUNT];  // entry 0 of each frame is unused
    float global_order[ORDER_HISTORY_FRAMES];
    int count;  // frames held, at most ORDER_HISTORY_FRAMES
    int next;   // where the next frame goes
};

// Adds one frame's measures, dropping the oldest when the ring is full.
void record_order(OrderHistory& history, const Synchrony& measured);

// When each swarm first fell into step: the first frame of the first run of SYNC_HOLD_FRAMES
// frames in a row in which its order was at least SYNC_ORDER.
struct SyncTimer {
    int64_t run_start[SWARM_COUNT];   // first frame of the current run of ordered frames, or -1
    int64_t sync_frame[SWARM_COUNT];  // the answer so far, -1 while it has not happened
};

// A timer that has seen no frame.
SyncTimer make_sync_timer();

// Counts frame `frame` with its measures in; frames come in ascending order, one call each.
void track_synchrony(SyncTimer& timer, int64_t frame, const Synchrony& measured);
