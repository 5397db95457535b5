#include "sim/random.h"

uint32_t random_state = 1;

void seed_random(uint32_t seed) { random_state = seed; }

int next_random() {
    random_state = random_state * 1103515245u + 12345u;
    return static_cast<int>((random_state >> 16) & static_cast<uint32_t>(RANDOM_MAX));
}
