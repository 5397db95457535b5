// Exploring the swarm table: random swarms for all nine swarms (R) and a small mutation of the
// selected one (X). Their draws come from a generator of their own, never the simulation's, so
// exploring leaves the flight's random sequence where it was; a replay keeps the tables they
// made (files/replay_file.h), so the generator is never needed to play one again.
#pragma once

#include <cstdint>

#include "sim/world.h"

// The explorer's generator: SplitMix64, seeded from the run's seed.
struct ExploreRandom {
    uint64_t state = 0x9e3779b97f4a7c15u;
};
extern ExploreRandom explore_random;

void seed_explore(uint32_t seed);

// The range a random swarm's field is drawn from, and the step a mutation moves it by.
struct ExploreRange {
    int32_t Swarm::*member;
    int32_t lo, hi;
    int32_t step;  // 0: a mutation leaves the field alone
};

// Each editable field's range, the population's chosen so that nine swarms fill at most the
// 2000 slots (9 x 220 = 1980). The lowest speed is drawn from 1 to the highest speed less one;
// one colour channel of each swarm is 255, so that every swarm glows brightly.
constexpr int EXPLORE_RANGES = EDITABLE_FIELDS;
extern const ExploreRange EXPLORE_RANGE[EXPLORE_RANGES];

// The range of member.
const ExploreRange& explore_range(int32_t Swarm::*member);

// Gives swarms 1 to 9 random values for their twelve editable fields, each within its range, a
// target among the nine; record 0 and the spare fields stay as they were.
void random_swarms(Swarm (&table)[SWARM_COUNT]);

// Moves each field of swarm that has a step (the motion, the colour and the communication) one
// step up, one step down or not at all, by a third's chance each, staying within its range (or,
// for a value already outside it, no further outside); the lowest speed stays at most the
// highest. The population and the target stay.
void mutate_swarm(Swarm& swarm);
