// The variables of the user interface: what the panel shows, pause and glow detail, the shared
// key rest, the status message and the mouse's tool and rest, and the program's own additions
// (the synchrony graph, the help, the sound and its volume). One instance, static lifetime; the
// keyboard and the mouse write them, the frame hands them to drawing.
#pragma once

#include <cstdint>

#include "files/replay_file.h"  // STATUS_TEXT_SIZE

constexpr int STATUS_SHOW_FRAMES = 100;
constexpr int SOUND_VOLUME_STEPS = 10;

extern int32_t selected_swarm;  // 1 to 9: shown on the panel, joined by the lure
extern int32_t selected_row;    // 0 to 11: highlighted panel row
extern int32_t panel_visible;   // flag
extern int32_t paused;          // flag: steering and motion stand still
extern int32_t low_detail;      // flag: 3 by 3 pattern instead of the shine glow
extern int32_t key_cooldown;    // frames since the last key or right-button action
extern char status_text[STATUS_TEXT_SIZE];
extern int32_t status_frames;      // frames in which the status message is still drawn
extern int32_t mouse_tool;         // 0 to 4
extern int32_t mouse_idle_frames;  // frames since the mouse last moved
extern int32_t last_mouse_x;
extern int32_t last_mouse_y;

// What the program adds to the interface: what is shown and heard besides the flight.
struct InterfaceAdditions {
    int32_t graph_visible = 0;                  // flag: the synchrony graph is drawn
    int32_t help_visible = 0;                   // flag: the help overlay is drawn
    int32_t sound_on = 1;                       // flag: the frames' sound is heard
    int32_t sound_volume = SOUND_VOLUME_STEPS;  // 0 to SOUND_VOLUME_STEPS: its loudness in steps
    int32_t volume_keys_held = 0;  // the volume keys held in the frame before: - 1, = 2
    uint32_t own_keys_acted = 0;   // the program's own keys that acted since they went down
    bool own_keys_repeat = false;  // they repeat while held, as in replays kept before
    bool step_once = false;        // N while paused: this frame flies as if unpaused
};
extern InterfaceAdditions additions;

// Shows a message on the status line for the next 100 frames; the last one set wins.
void set_status(const char* message);

// Puts every variable back to its value at program load: zeros, except `selected_swarm` 1 and
// `mouse_idle_frames` 1000, and the additions' defaults. The variables take their load values
// from here too.
void clear_interface();
