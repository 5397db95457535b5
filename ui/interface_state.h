// The variables of the user interface: what the panel shows, pause and glow detail, the
// synchrony graph, the help, the sound and a picture or a replay asked for, the shared key rest,
// the status message and the mouse's tool and rest. One instance, static lifetime; the keyboard and
// the mouse write them, the frame hands them to drawing.
#pragma once

#include <cstdint>

constexpr int STATUS_TEXT_SIZE = 100;
constexpr int STATUS_SHOW_FRAMES = 100;
constexpr int SOUND_VOLUME_STEPS = 10;

extern int32_t selected_swarm;     // 1 to 9: shown on the panel, joined by the lure
extern int32_t selected_row;       // 0 to 11: highlighted panel row
extern int32_t panel_visible;      // flag
extern int32_t paused;             // flag: steering and motion stand still
extern int32_t low_detail;         // flag: 3 by 3 pattern instead of the shine glow
extern int32_t graph_visible;      // flag: the synchrony graph is drawn
extern int32_t help_visible;       // flag: the help overlay is drawn
extern int32_t sound_on;           // flag: the frames' sound is heard
extern int32_t sound_volume;       // 0 to SOUND_VOLUME_STEPS: the sound's loudness in steps
extern int32_t volume_keys_held;   // the volume keys held in the frame before: - 1, = 2
extern int32_t picture_requested;  // flag: save the picture once this frame is drawn
extern int32_t replay_requested;   // flag: keep the session as a replay once this frame is done
extern int32_t key_cooldown;       // frames since the last key or right-button action
extern char status_text[STATUS_TEXT_SIZE];
extern int32_t status_frames;      // frames in which the status message is still drawn
extern int32_t mouse_tool;         // 0 to 4
extern int32_t mouse_idle_frames;  // frames since the mouse last moved
extern int32_t last_mouse_x;
extern int32_t last_mouse_y;

// Shows a message on the status line for the next 100 frames; the last one set wins.
void set_status(const char* message);

// Puts every variable back to its value at program load: zeros, except `selected_swarm` 1,
// `sound_on` 1, `sound_volume` SOUND_VOLUME_STEPS and `mouse_idle_frames` 1000.
void clear_interface();
