// The curated presets: settings files in presets/, each showing one behaviour of the swarms
// clearly. Like the default settings they are written by the program's own settings writer,
// and the keys 1 to 9 load the first nine, 0 the tenth and 1 with 0 held the eleventh.

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>

#include "assets/generator/media.h"
#include "files/path.h"

namespace {

struct Preset {
    const char* name;   // the file is N-name.sav, N being the preset's place from 1
    SwarmRow swarm[9];  // a swarm left out has population 0
};

// clang-format off
const Preset PRESETS[] = {
    // Nine swarms in a ring, each chasing the next and taking over its blink: the rhythm
    // runs round the ring and every swarm falls into step.
    {"ring-of-chasers", {
        //pop turn view high low acc brk  red green blue  comm target
        { 200,   6,  60,   5,  1,  2,  2, 255,   40,  40, 2500,     2},
        { 200,   8,  70,   4,  1,  2,  1, 255,  140,  20, 2500,     3},
        { 200,   5,  50,   5,  2,  1,  2, 255,  230,  40, 2500,     4},
        { 200,   4,  45,   6,  2,  3,  2,  60,  255,  60, 2500,     5},
        { 200,   9,  80,   4,  1,  2,  3,  40,  230, 255, 2500,     6},
        { 200,   7,  60,   5,  1,  2,  2,  60,   90, 255, 2500,     7},
        { 200,  10,  90,   3,  1,  1,  1, 170,   60, 255, 2500,     8},
        { 200,   6,  75,   4,  2,  2,  2, 255,   80, 190, 2500,     9},
        { 200,   5,  40,   3,  1,  1,  3, 230,  230, 255, 2500,     1},
    }},
    // Two small packs of fast red and orange hunters chase a large, slow green herd that
    // keeps to itself; the hunters take over the herd's blink.
    {"predators-and-prey", {
        { 100,   9,  70,   8,  3,  4,  2, 255,   40,  30, 1500,     3},
        { 100,   9,  70,   8,  3,  4,  2, 255,  150,  20, 1500,     3},
        { 800,   5,  60,   3,  1,  1,  2,  60,  255,  80, 6000,     3},
    }},
    // Six swarms that follow themselves and hear each other across half the field: each
    // falls into step within a few seconds.
    {"fall-into-step", {
        { 300,   7,  70,   4,  1,  2,  2, 255,   60,  60, 6000,     1},
        { 300,   7,  70,   4,  1,  2,  2, 255,  200,  40, 6000,     2},
        { 300,   7,  70,   4,  1,  2,  2,  60,  255,  90, 6000,     3},
        { 300,   7,  70,   4,  1,  2,  2,  40,  220, 255, 6000,     4},
        { 300,   7,  70,   4,  1,  2,  2,  90,   90, 255, 6000,     5},
        { 300,   7,  70,   4,  1,  2,  2, 230,   80, 255, 6000,     6},
    }},
    // The default swarms without communication: every firefly keeps its own rhythm and no
    // swarm ever blinks in step.
    {"no-communication", {
        { 200,   6,  60,   5,  1,  2,  2, 255,   40,  40,    0,     2},
        { 200,   8,  70,   4,  1,  2,  1, 255,  140,  20,    0,     3},
        { 200,   5,  50,   5,  2,  1,  2, 255,  230,  40,    0,     4},
        { 200,   4,  45,   6,  2,  3,  2,  60,  255,  60,    0,     1},
        { 200,   9,  80,   4,  1,  2,  3,  40,  230, 255,    0,     6},
        { 200,   7,  60,   5,  1,  2,  2,  60,   90, 255,    0,     5},
        { 200,  10,  90,   3,  1,  1,  1, 170,   60, 255,    0,     7},
        { 200,   6,  75,   4,  2,  2,  2, 255,   80, 190,    0,     8},
        { 200,   5,  40,   3,  1,  1,  3, 230,  230, 255,    0,     9},
    }},
    // Every firefly in one golden swarm that follows itself.
    {"one-swarm-of-2000", {
        {2000,   6,  60,   4,  1,  2,  2, 255,  190,  70, 1200,     1},
    }},
    // A cyan and a violet swarm chase and watch each other only: they lock into one rhythm.
    {"mutual-lock", {
        { 700,   7,  70,   4,  1,  2,  2,  40,  230, 255, 2500,     2},
        { 700,   7,  70,   4,  1,  2,  2, 200,   60, 255, 2500,     1},
    }},
    // Slow fireflies that only hear their nearest neighbours: the blink spreads across the
    // swarm as a slow wave, and the whole swarm is never quite in step.
    {"slow-wave", {
        {1500,   4,  90,   2,  1,  1,  1,  80,  255, 160,  250,     1},
    }},
    // Fast fireflies with a narrow view and slow turns draw long streaks.
    {"fast-streaks", {
        { 300,   3,  30,  12,  6,  5,  2, 255,   70,  40, 1200,     2},
        { 300,   3,  30,  12,  6,  5,  2, 255,  220,  60, 1200,     1},
        { 300,   3,  30,  10,  5,  5,  2,  60,  160, 255, 3000,     3},
    }},
    // A white leader keeps to itself and sets the rhythm; cyan follows it, blue follows cyan
    // and violet follows blue, each taking over the blink of the swarm ahead.
    {"follow-the-leader", {
        { 400,   7,  70,   4,  1,  2,  2, 230,  230, 255, 2500,     1},
        { 400,   7,  70,   5,  1,  2,  2,  40,  230, 255, 2500,     1},
        { 400,   7,  70,   5,  1,  2,  2,  60,   90, 255, 2500,     2},
        { 400,   7,  70,   5,  1,  2,  2, 180,   60, 255, 2500,     3},
    }},
    // For big fields (key 0): eight swarms of 2500 in a ring, each chasing the next and taking
    // over its blink, like the ring of chasers but ten times the crowd. A table of fewer
    // slots is filled from swarm 1 on, as any settings file that asks for more.
    {"a-field-of-20000", {
        {2500,   6,  60,   5,  1,  2,  2, 255,   40,  40, 2500,     2},
        {2500,   8,  70,   4,  1,  2,  1, 255,  140,  20, 2500,     3},
        {2500,   5,  50,   5,  2,  1,  2, 255,  230,  40, 2500,     4},
        {2500,   4,  45,   6,  2,  3,  2,  60,  255,  60, 2500,     5},
        {2500,   9,  80,   4,  1,  2,  3,  40,  230, 255, 2500,     6},
        {2500,   7,  60,   5,  1,  2,  2,  60,   90, 255, 2500,     7},
        {2500,  10,  90,   3,  1,  1,  1, 170,   60, 255, 2500,     8},
        {2500,   6,  75,   4,  2,  2,  2, 255,   80, 190, 2500,     1},
    }},
    // For the biggest fields (0 and 1): five swarms of 10,000 that follow themselves and hear
    // each other across the field, each falling into step as one wave of light.
    {"a-field-of-50000", {
        {10000,  7,  70,   4,  1,  2,  2, 255,   60,  60, 6000,     1},
        {10000,  7,  70,   4,  1,  2,  2, 255,  200,  40, 6000,     2},
        {10000,  7,  70,   4,  1,  2,  2,  60,  255,  90, 6000,     3},
        {10000,  7,  70,   4,  1,  2,  2,  40,  220, 255, 6000,     4},
        {10000,  7,  70,   4,  1,  2,  2, 230,   80, 255, 6000,     5},
    }},
};
// clang-format on

}  // namespace

bool write_presets(const std::string& dir) {
    if (mkdir(dir.c_str(), 0777) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "make-assets: cannot make %s\n", dir.c_str());
        return false;
    }
    bool ok = true;
    int number = 0;
    for (const Preset& preset : PRESETS) {
        ++number;
        const std::string path =
            join_path(dir, std::to_string(number) + "-" + preset.name + ".sav");
        ok &= write_swarm_rows(path, preset.swarm);
    }
    return ok;
}
