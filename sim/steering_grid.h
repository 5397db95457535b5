// Fast steering: the same choices as the walk over the whole table in slot order, found through
// a grid of the fireflies by swarm and position instead.
//
// The walk's outcome can be stated without the walk. Call a candidate close when it lies more
// than 20 and less than 80 pixels away and inside the field of view. The walk stops at the
// lowest-numbered close candidate, which becomes the target; without one it visits every slot,
// and the target is the nearest visible candidate beyond 20 pixels, the lower slot winning a
// tie. The communicating firefly is the highest-numbered candidate within range among the
// slots up to where the walk stopped. The grid answers each of these with a few cells.
#pragma once

// Files every slot under its swarm and cell. Called before the first firefly of a frame is
// steered, after population control and the mouse have had their say.
void build_steering_grid();

// Moves a slot to the cell of its new position; called after each firefly's motion step.
void update_steering_grid(int index);

// Steers the firefly in slot `index` exactly as steer_firefly does, with the same effects on
// the firefly and the random generator; needs the grid to be current.
int steer_firefly_fast(int index);
