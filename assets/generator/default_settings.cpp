// lmr.sav: the swarm table lumora starts with. It is written by the program's own settings
// writer, so the file is exactly what saving that table from the program gives.

#include <cstdint>
#include <cstdio>
#include <string>

#include "assets/generator/media.h"
#include "files/settings_file.h"
#include "sim/world.h"

// clang-format off
const Rgb SWARM_COLOURS[9] = {
    {255, 40, 40},   // 1 red
    {255, 140, 20},  // 2 orange
    {255, 230, 40},  // 3 yellow
    {60, 255, 60},   // 4 green
    {40, 230, 255},  // 5 cyan
    {60, 90, 255},   // 6 blue
    {170, 60, 255},  // 7 violet
    {255, 80, 190},  // 8 pink
    {230, 230, 255}, // 9 white
};
// clang-format on

// The fields of a swarm that the defaults set besides its colour, in the units of Swarm.
struct SwarmDefaults {
    int32_t highest_speed, lowest_speed, turning_speed, field_of_view, acceleration, braking,
        population, target_swarm, communication;
};

// Starting values for swarms 1..9. Swarms 1-4 chase each other in a ring, 5 and 6 chase each
// other, 7-9 keep to themselves. Populations add up to 1800 of the program's 2000 fireflies.
// clang-format off
static const SwarmDefaults DEFAULT_SWARMS[9] = {
    //  high low turn view acc brk   pop  target comm
    {   5,   1,   6,  60,  2,  2,   200,  2,    1800},  // 1
    {   4,   1,   8,  70,  2,  1,   200,  3,    2000},  // 2
    {   5,   2,   5,  50,  1,  2,   200,  4,    1600},  // 3
    {   6,   2,   4,  45,  3,  2,   200,  1,    2200},  // 4
    {   4,   1,   9,  80,  2,  3,   200,  6,    2500},  // 5
    {   5,   1,   7,  60,  2,  2,   200,  5,    2400},  // 6
    {   3,   1,  10,  90,  1,  1,   200,  7,    1500},  // 7
    {   4,   2,   6,  75,  2,  2,   200,  8,    1200},  // 8
    {   3,   1,   5,  40,  1,  3,   200,  9,    1000},  // 9
};
// clang-format on

bool write_swarm_rows(const std::string& path, const SwarmRow (&rows)[9]) {
    Swarm table[SWARM_COUNT] = {};
    table[0].color_red = table[0].color_green = table[0].color_blue = 40;
    for (int s = 1; s < SWARM_COUNT; ++s) {
        const SwarmRow& r = rows[s - 1];
        Swarm& t = table[s];
        t.highest_speed = r.highest_speed;
        t.lowest_speed = r.lowest_speed;
        t.turning_speed = r.turning_speed;
        t.field_of_view = r.field_of_view;
        t.acceleration = r.acceleration;
        t.braking = r.braking;
        t.population = r.population;
        t.target_swarm = r.population > 0 ? r.target_swarm : s;
        t.communication = r.communication;
        t.color_red = r.red;
        t.color_green = r.green;
        t.color_blue = r.blue;
    }
    if (write_settings_file(path.c_str(), table)) return true;
    std::fprintf(stderr, "make-assets: cannot write %s\n", path.c_str());
    return false;
}

bool write_default_settings(const std::string& path) {
    SwarmRow rows[9];
    for (int s = 0; s < 9; ++s) {
        const SwarmDefaults& d = DEFAULT_SWARMS[s];
        const Rgb& colour = SWARM_COLOURS[s];
        rows[s] = SwarmRow{d.highest_speed,
                           d.lowest_speed,
                           d.turning_speed,
                           d.field_of_view,
                           d.acceleration,
                           d.braking,
                           d.population,
                           d.target_swarm,
                           d.communication,
                           static_cast<int32_t>(colour.r),
                           static_cast<int32_t>(colour.g),
                           static_cast<int32_t>(colour.b)};
    }
    return write_swarm_rows(path, rows);
}
