#include "ui/interface_state.h"

#include <cstring>

int32_t selected_swarm;
int32_t selected_row;
int32_t panel_visible;
int32_t paused;
int32_t low_detail;
int32_t key_cooldown;
char status_text[STATUS_TEXT_SIZE];
int32_t status_frames;
int32_t mouse_tool;
int32_t mouse_idle_frames;
int32_t last_mouse_x;
int32_t last_mouse_y;
InterfaceAdditions additions;

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
    key_cooldown = 0;
    std::memset(status_text, 0, sizeof status_text);
    status_frames = 0;
    mouse_tool = 0;
    mouse_idle_frames = 1000;
    last_mouse_x = 0;
    last_mouse_y = 0;
    additions = InterfaceAdditions{};
}

// The values at program load are written once, above: nothing reads the variables before the
// program's own code runs.
[[maybe_unused]] static const bool cleared_at_load = (clear_interface(), true);
