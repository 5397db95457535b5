// One snapshot of the keyboard and mouse, taken once before each frame. Every step of the
// frame sees the same snapshot, which keeps a frame consistent and a scripted run repeatable.
#pragma once

#include <allegro.h>

#include "files/remote_command.h"

struct InputSnapshot {
    bool held[KEY_MAX] = {};  // indexed by the library's KEY_* scancodes
    int mouse_x = 0;
    int mouse_y = 0;
    int mouse_b = 0;  // button bits: 1 left, 2 right
    // What other programs asked for since the frame before, in the order it came (at most
    // REMOTE_PER_FRAME); a replay brings its own instead.
    const RemoteCommand* remote = nullptr;
    int remote_count = 0;
};

constexpr int MOUSE_LEFT = 1;
constexpr int MOUSE_RIGHT = 2;
