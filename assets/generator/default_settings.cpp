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

// Starting values for swarms 1..9. Swarms 1-4 chase each other in a ring, 5 and 6 chase each
// other, 7-9 keep to themselves. Populations add up to 1800 of the program's 2000 fireflies.
// The colours are SWARM_COLOURS, which the title shares.
// clang-format off
static const SwarmRow DEFAULT_SWARMS[9] = {
    //pop turn view high low acc brk  red green blue  comm target
    { 200,   6,  60,   5,  1,  2,  2,   0,    0,   0, 1800,     2},  // 1
    { 200,   8,  70,   4,  1,  2,  1,   0,    0,   0, 2000,     3},  // 2
    { 200,   5,  50,   5,  2,  1,  2,   0,    0,   0, 1600,     4},  // 3
    { 200,   4,  45,   6,  2,  3,  2,   0,    0,   0, 2200,     1},  // 4
    { 200,   9,  80,   4,  1,  2,  3,   0,    0,   0, 2500,     6},  // 5
    { 200,   7,  60,   5,  1,  2,  2,   0,    0,   0, 2400,     5},  // 6
    { 200,  10,  90,   3,  1,  1,  1,   0,    0,   0, 1500,     7},  // 7
    { 200,   6,  75,   4,  2,  2,  2,   0,    0,   0, 1200,     8},  // 8
    { 200,   5,  40,   3,  1,  1,  3,   0,    0,   0, 1000,     9},  // 9
};
// clang-format on

// The swarm table that write_swarm_rows writes (media.h).
static void fill_swarms(Swarm (&table)[SWARM_COUNT], const SwarmRow (&rows)[9]) {
    table[0].color_red = table[0].color_green = table[0].color_blue = 40;
    for (int s = 1; s < SWARM_COUNT; ++s) {
        Swarm& t = table[s];
        for (int i = 0; i < EDITABLE_FIELDS; ++i)
            t.*SWARM_FIELD_TABLE[i].member = rows[s - 1].value[i];
        if (t.population <= 0) t.target_swarm = s;
    }
}

static bool write_swarms(const std::string& path, const Swarm (&table)[SWARM_COUNT]) {
    if (write_settings_file(path.c_str(), table)) return true;
    std::fprintf(stderr, "make-assets: cannot write %s\n", path.c_str());
    return false;
}

bool write_swarm_rows(const std::string& path, const SwarmRow (&rows)[9]) {
    Swarm table[SWARM_COUNT] = {};
    fill_swarms(table, rows);
    return write_swarms(path, table);
}

bool write_default_settings(const std::string& path) {
    Swarm table[SWARM_COUNT] = {};
    fill_swarms(table, DEFAULT_SWARMS);
    for (int s = 1; s < SWARM_COUNT; ++s) {
        const Rgb& colour = SWARM_COLOURS[s - 1];
        table[s].color_red = static_cast<int32_t>(colour.r);
        table[s].color_green = static_cast<int32_t>(colour.g);
        table[s].color_blue = static_cast<int32_t>(colour.b);
    }
    return write_swarms(path, table);
}
