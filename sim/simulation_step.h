// The simulation step of a frame: every live firefly steered and moved.
#pragma once

// Steers and moves every live firefly once, in ascending slot order, each one before the next
// is steered, so that it sees the lower slots already moved in this frame. The reference way
// walks the whole table for every firefly; the fast way builds the steering grid first and
// searches it, with the same choices, fields and random draws.
void run_simulation_step(bool reference);
