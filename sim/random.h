// The random source of the simulation: a linear congruential generator with a fixed formula,
// so that a run with a given seed repeats exactly on every platform.
#pragma once

#include <cstdint>

constexpr int RANDOM_MAX = 32767;

extern uint32_t random_state;

void seed_random(uint32_t seed);

// The next draw, 0 to 32767 inclusive.
int next_random();
