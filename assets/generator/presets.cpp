// The curated presets: settings files in presets/, each showing one behaviour of the swarms
// clearly. Like the default settings they are written by the program's own settings writer,
// and the keys 1 to 9 load them.

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>

#include "assets/generator/media.h"

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
        //high low turn view acc brk  pop  target comm   red  green blue
        {  5,  1,   6,  60,  2,  2,  200,  2,  2500,  255,  40,  40},
        {  4,  1,   8,  70,  2,  1,  200,  3,  2500,  255, 140,  20},
        {  5,  2,   5,  50,  1,  2,  200,  4,  2500,  255, 230,  40},
        {  6,  2,   4,  45,  3,  2,  200,  5,  2500,   60, 255,  60},
        {  4,  1,   9,  80,  2,  3,  200,  6,  2500,   40, 230, 255},
        {  5,  1,   7,  60,  2,  2,  200,  7,  2500,   60,  90, 255},
        {  3,  1,  10,  90,  1,  1,  200,  8,  2500,  170,  60, 255},
        {  4,  2,   6,  75,  2,  2,  200,  9,  2500,  255,  80, 190},
        {  3,  1,   5,  40,  1,  3,  200,  1,  2500,  230, 230, 255},
    }},
    // Two small packs of fast red and orange hunters chase a large, slow green herd that
    // keeps to itself; the hunters take over the herd's blink.
    {"predators-and-prey", {
        {  8,  3,   9,  70,  4,  2,  100,  3,  1500,  255,  40,  30},
        {  8,  3,   9,  70,  4,  2,  100,  3,  1500,  255, 150,  20},
        {  3,  1,   5,  60,  1,  2,  800,  3,  6000,   60, 255,  80},
    }},
    // Six swarms that follow themselves and hear each other across half the field: each
    // falls into step within a few seconds.
    {"fall-into-step", {
        {  4,  1,   7,  70,  2,  2,  300,  1,  6000,  255,  60,  60},
        {  4,  1,   7,  70,  2,  2,  300,  2,  6000,  255, 200,  40},
        {  4,  1,   7,  70,  2,  2,  300,  3,  6000,   60, 255,  90},
        {  4,  1,   7,  70,  2,  2,  300,  4,  6000,   40, 220, 255},
        {  4,  1,   7,  70,  2,  2,  300,  5,  6000,   90,  90, 255},
        {  4,  1,   7,  70,  2,  2,  300,  6,  6000,  230,  80, 255},
    }},
    // The default swarms without communication: every firefly keeps its own rhythm and no
    // swarm ever blinks in step.
    {"no-communication", {
        {  5,  1,   6,  60,  2,  2,  200,  2,     0,  255,  40,  40},
        {  4,  1,   8,  70,  2,  1,  200,  3,     0,  255, 140,  20},
        {  5,  2,   5,  50,  1,  2,  200,  4,     0,  255, 230,  40},
        {  6,  2,   4,  45,  3,  2,  200,  1,     0,   60, 255,  60},
        {  4,  1,   9,  80,  2,  3,  200,  6,     0,   40, 230, 255},
        {  5,  1,   7,  60,  2,  2,  200,  5,     0,   60,  90, 255},
        {  3,  1,  10,  90,  1,  1,  200,  7,     0,  170,  60, 255},
        {  4,  2,   6,  75,  2,  2,  200,  8,     0,  255,  80, 190},
        {  3,  1,   5,  40,  1,  3,  200,  9,     0,  230, 230, 255},
    }},
    // Every firefly in one golden swarm that follows itself.
    {"one-swarm-of-2000", {
        {  4,  1,   6,  60,  2,  2, 2000,  1,  1200,  255, 190,  70},
    }},
    // A cyan and a violet swarm chase and watch each other only: they lock into one rhythm.
    {"mutual-lock", {
        {  4,  1,   7,  70,  2,  2,  700,  2,  2500,   40, 230, 255},
        {  4,  1,   7,  70,  2,  2,  700,  1,  2500,  200,  60, 255},
    }},
    // Slow fireflies that only hear their nearest neighbours: the blink spreads across the
    // swarm as a slow wave, and the whole swarm is never quite in step.
    {"slow-wave", {
        {  2,  1,   4,  90,  1,  1, 1500,  1,   250,   80, 255, 160},
    }},
    // Fast fireflies with a narrow view and slow turns draw long streaks.
    {"fast-streaks", {
        { 12,  6,   3,  30,  5,  2,  300,  2,  1200,  255,  70,  40},
        { 12,  6,   3,  30,  5,  2,  300,  1,  1200,  255, 220,  60},
        { 10,  5,   3,  30,  5,  2,  300,  3,  3000,   60, 160, 255},
    }},
    // A white leader keeps to itself and sets the rhythm; cyan follows it, blue follows cyan
    // and violet follows blue, each taking over the blink of the swarm ahead.
    {"follow-the-leader", {
        {  4,  1,   7,  70,  2,  2,  400,  1,  2500,  230, 230, 255},
        {  5,  1,   7,  70,  2,  2,  400,  1,  2500,   40, 230, 255},
        {  5,  1,   7,  70,  2,  2,  400,  2,  2500,   60,  90, 255},
        {  5,  1,   7,  70,  2,  2,  400,  3,  2500,  180,  60, 255},
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
        const std::string path = dir + "/" + std::to_string(number) + "-" + preset.name + ".sav";
        ok &= write_swarm_rows(path, preset.swarm);
    }
    return ok;
}
