// Population control: every frame each swarm is brought to the number of fireflies its
// settings ask for. This is the only place where fireflies are created.
#pragma once

// Places a new firefly of `swarm` at (x, y) in the lowest-numbered free slot. Returns false,
// changing nothing, when every slot is taken.
bool spawn_firefly(int x, int y, int swarm);

// Keeps the `wanted` lowest-numbered members of `swarm`, frees the rest, and spawns the
// missing ones at random points as far as free slots allow.
void update_population(int swarm, int wanted);

// Brings swarms 1 to 9 to their wanted populations, calling update_population for each in
// turn. The fast way (reference false) gives exactly the same table and random draws: when
// every swarm already has its number, which is the rule from frame to frame, one pass over the
// table finds that out and nothing else is done.
void update_populations(bool reference);
