// The steering grid: every firefly filed under its swarm and its 128-pixel cell, so that the
// fast steering (sim/steering_search.h) looks at a few cells instead of the whole table.
#pragma once

// Files every slot under its swarm and cell. Called before the first firefly of a frame is
// steered, after population control and the mouse have had their say.
void build_steering_grid();

// Moves a slot to the cell of its new position; called after each firefly's motion step.
void update_steering_grid(int index);

// Puts the whole grid back to its start: nothing filed, no cone boxes worked out, and no
// previous target or partner for any firefly. Steering gives the same choices either way; the
// grid must be built again before the next fast steering.
void reset_steering_grid();
