#include "ui/explore.h"

#include <algorithm>

ExploreRandom explore_random;

// clang-format off
const ExploreRange EXPLORE_RANGE[EXPLORE_RANGES] = {
    {&Swarm::population,    40,  220,   0},
    {&Swarm::turning_speed,  3,   10,   1},
    {&Swarm::field_of_view, 30,   90,   5},
    {&Swarm::highest_speed,  2,   10,   1},
    {&Swarm::lowest_speed,   1,    9,   1},
    {&Swarm::acceleration,   1,    5,   1},
    {&Swarm::braking,        1,    3,   1},
    {&Swarm::color_red,     20,  255,  16},
    {&Swarm::color_green,   20,  255,  16},
    {&Swarm::color_blue,    20,  255,  16},
    {&Swarm::communication, 500, 5000, 250},
    {&Swarm::target_swarm,   1,    9,   0},
};
// clang-format on

static_assert(9 * 220 <= MAX_FIREFLIES, "nine random swarms fit into the firefly table");

static uint64_t next_explore() {
    uint64_t z = (explore_random.state += 0x9e3779b97f4a7c15u);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
}

// A whole number from lo to hi, both included.
static int32_t draw(int32_t lo, int32_t hi) {
    const uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(hi) - lo) + 1;
    return static_cast<int32_t>(lo + static_cast<int64_t>(next_explore() % span));
}

void seed_explore(uint32_t seed) { explore_random.state = 0x6c756d6f72610000u ^ seed; }

const ExploreRange& explore_range(int32_t Swarm::*member) {
    for (const ExploreRange& range : EXPLORE_RANGE) {
        if (range.member == member) return range;
    }
    return EXPLORE_RANGE[0];  // never: every editable field has a range
}

void random_swarms(Swarm (&table)[SWARM_COUNT]) {
    for (int s = 1; s < SWARM_COUNT; ++s) {
        Swarm& swarm = table[s];
        for (const ExploreRange& range : EXPLORE_RANGE)
            swarm.*range.member = draw(range.lo, range.hi);
        swarm.lowest_speed = draw(1, swarm.highest_speed - 1);
        int32_t Swarm::*const channels[] = {&Swarm::color_red, &Swarm::color_green,
                                            &Swarm::color_blue};
        swarm.*channels[draw(0, 2)] = 255;
        // A table of another size gets crowds of the same share of its slots.
        if (firefly_capacity != MAX_FIREFLIES) {
            swarm.population = static_cast<int32_t>(int64_t{swarm.population} * firefly_capacity /
                                                    MAX_FIREFLIES);
        }
    }
}

void mutate_swarm(Swarm& swarm) {
    for (const ExploreRange& range : EXPLORE_RANGE) {
        if (range.step == 0) continue;
        int32_t& value = swarm.*range.member;
        const int32_t way = draw(-1, 1);
        const int64_t moved = static_cast<int64_t>(value) + way * range.step;
        const int64_t lo = std::min<int64_t>(range.lo, value);
        const int64_t hi = std::max<int64_t>(range.hi, value);
        value = static_cast<int32_t>(std::clamp(moved, lo, hi));
    }
    if (swarm.lowest_speed > swarm.highest_speed) swarm.lowest_speed = swarm.highest_speed;
}
