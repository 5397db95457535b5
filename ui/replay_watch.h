// A replay watched in the window (lumora FILE.replay). The frames come from the replay, never
// from the keyboard; the watcher's keys only watch: they pause the playing, play one frame at a
// time, show the graph and the help, switch the sound and keep a picture, and none of them
// reaches the frames' input, so the replay plays as it was kept. ESC leaves.
#pragma once

#include <cstdint>

#include "files/replay_file.h"
#include "ui/input.h"

struct BITMAP;

constexpr int WATCH_LINE_SIZE = 256;

struct ReplayWatch {
    bool paused = false;
    uint32_t held = 0;                 // the watching keys held at the last look, a bit each
    char note[STATUS_TEXT_SIZE] = "";  // what the last watching key did
    int note_ticks = 0;                // ticks the note is still shown
};

// Acts on the watching keys pressed since the last look (keys, the real keyboard): P pauses or
// plays on, N plays one frame while paused, G, F1 and M show the graph, the help and switch the
// sound, F12 keeps shown (the last frame as drawn, without the cursor) as a numbered picture
// that carries its swarms. Returns the frames to play now: 1, or 0 while paused.
int watch_replay_keys(ReplayWatch& watch, const InputSnapshot& keys, BITMAP* shown);

// The line shown over the replay: its frame, whether it is paused or ended, and the last note.
void watch_line(const ReplayWatch& watch, int64_t frame, int64_t frames,
                char (&line)[WATCH_LINE_SIZE]);
