#include "ui/interface_state.h"

#include <cstring>

int32_t selected_swarm = 1;
int32_t selected_row = 0;
int32_t panel_visible = 0;
int32_t paused = 0;
int32_t low_detail = 0;
int32_t graph_visible = 0;
int32_t help_visible = 0;
int32_t sound_on = 1;
int32_t sound_volume = SOUND_VOLUME_STEPS;
int32_t volume_keys_held = 0;
int32_t picture_requested = 0;
int32_t replay_requested = 0;
int32_t key_cooldown = 0;
char status_text[STATUS_TEXT_SIZE];
int32_t status_frames = 0;
int32_t mouse_tool = 0;
int32_t mouse_idle_frames = 1000;
int32_t last_mouse_x = 0;
int32_t last_mouse_y = 0;

void set_status(const char* message) {
    std::strncpy(status_text, message, STATUS_TEXT_SIZE - 1);
    status_text[STATUS_TEXT_SIZE - 1] = '\0';
    status_frames = STATUS_SHOW_FRAMES;
}

void clear_interface() {
    selected_swarm = 1;
    selected_row = 0;
    panel_visible = 0;
    paused = 0;
    low_detail = 0;
    graph_visible = 0;
    help_visible = 0;
    sound_on = 1;
    sound_volume = SOUND_VOLUME_STEPS;
    volume_keys_held = 0;
    picture_requested = 0;
    replay_requested = 0;
    key_cooldown = 0;
    std::memset(status_text, 0, sizeof status_text);
    status_frames = 0;
    mouse_tool = 0;
    mouse_idle_frames = 1000;
    last_mouse_x = 0;
    last_mouse_y = 0;
}
