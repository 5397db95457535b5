// lmr.sav: the swarm table lumora starts with.

#include <cstdio>
#include <string>
#include <vector>

#include "assets/generator/media.h"

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

// One line of the settings file per field; a record has 20 fields, most of them unused.
enum Field {
    kHighestSpeed = 1,  // px/frame
    kLowestSpeed = 2,   // px/frame
    kTurningSpeed = 3,  // degrees/frame
    kFieldOfView = 4,   // half-angle, degrees
    kAcceleration = 5,  // tenths of px/frame
    kBraking = 6,       // tenths of px/frame
    kRed = 7,
    kGreen = 8,
    kBlue = 9,
    kPopulation = 10,
    kTargetSwarm = 11,    // the swarm this one chases (1..9, may be itself)
    kCommunication = 12,  // tenths of a pixel
    kFieldsPerRecord = 20,
};

struct SwarmDefaults {
    int highest, lowest, turning, view, accel, brake, red, green, blue, population, target, comm;
};

// Starting values for swarms 1..9. Swarms 1-4 chase each other in a ring, 5 and 6 chase each
// other, 7-9 keep to themselves. Populations add up to 1800 of the program's 2000 fireflies.
// clang-format off
static const SwarmDefaults kSwarms[9] = {
    //  high low turn view acc brk   red  green blue   pop  target comm
    {   5,   1,   6,  60,  2,  2,   255,   40,   40,  200,  2,    1800},  // 1 red
    {   4,   1,   8,  70,  2,  1,   255,  140,   20,  200,  3,    2000},  // 2 orange
    {   5,   2,   5,  50,  1,  2,   255,  230,   40,  200,  4,    1600},  // 3 yellow
    {   6,   2,   4,  45,  3,  2,    60,  255,   60,  200,  1,    2200},  // 4 green
    {   4,   1,   9,  80,  2,  3,    40,  230,  255,  200,  6,    2500},  // 5 cyan
    {   5,   1,   7,  60,  2,  2,    60,   90,  255,  200,  5,    2400},  // 6 blue
    {   3,   1,  10,  90,  1,  1,   170,   60,  255,  200,  7,    1500},  // 7 violet
    {   4,   2,   6,  75,  2,  2,   255,   80,  190,  200,  8,    1200},  // 8 pink
    {   3,   1,   5,  40,  1,  3,   230,  230,  255,  200,  9,    1000},  // 9 white
};
// clang-format on

bool write_default_settings(const std::string& path) {
    std::vector<int> values(10 * kFieldsPerRecord, 0);
    // Record 0 is no swarm; it only carries a dim grey.
    values[kRed] = values[kGreen] = values[kBlue] = 40;
    for (int s = 1; s <= 9; ++s) {
        const SwarmDefaults& d = kSwarms[s - 1];
        int* r = &values[s * kFieldsPerRecord];
        r[kHighestSpeed] = d.highest;
        r[kLowestSpeed] = d.lowest;
        r[kTurningSpeed] = d.turning;
        r[kFieldOfView] = d.view;
        r[kAcceleration] = d.accel;
        r[kBraking] = d.brake;
        r[kRed] = d.red;
        r[kGreen] = d.green;
        r[kBlue] = d.blue;
        r[kPopulation] = d.population;
        r[kTargetSwarm] = d.target;
        r[kCommunication] = d.comm;
    }
    FILE* f = std::fopen(path.c_str(), "wb");  // binary: "\n" line ends on every system
    if (!f) {
        std::fprintf(stderr, "make-assets: cannot write %s\n", path.c_str());
        return false;
    }
    for (int v : values) std::fprintf(f, "%d\n", v);
    return std::fclose(f) == 0;
}
