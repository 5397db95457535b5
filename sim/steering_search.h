// Fast steering: the same choices as the walk over the whole table in slot order, found through
// the steering grid (sim/steering_grid.h) instead.
//
// The walk's outcome can be stated without the walk. Call a candidate close when it lies more
// than 20 and less than 80 pixels away and inside the field of view. The walk stops at the
// lowest-numbered close candidate, which becomes the target; without one it visits every slot,
// and the target is the nearest visible candidate beyond 20 pixels, the lower slot winning a
// tie. The communicating firefly is the highest-numbered candidate within range among the
// slots up to where the walk stopped. The grid answers each of these with a few cells.
#pragma once

// Steers the firefly in slot `index` exactly as steer_firefly does, with the same effects on
// the firefly and the random generator; needs the grid to be current.
int steer_firefly_fast(int index);
