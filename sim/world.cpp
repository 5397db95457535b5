#include "sim/world.h"

#include <cstring>

static_assert(sizeof(Firefly) == 11 * sizeof(float), "a firefly is eleven floats");
static_assert(sizeof(Swarm) == SWARM_FIELDS * sizeof(int32_t), "a swarm is twenty ints");

int32_t Swarm::*const SWARM_FIELD[SWARM_FIELDS] = {
    &Swarm::spare_0,       &Swarm::highest_speed, &Swarm::lowest_speed, &Swarm::turning_speed,
    &Swarm::field_of_view, &Swarm::acceleration,  &Swarm::braking,      &Swarm::color_red,
    &Swarm::color_green,   &Swarm::color_blue,    &Swarm::population,   &Swarm::target_swarm,
    &Swarm::communication, &Swarm::spare_13,      &Swarm::spare_14,     &Swarm::spare_15,
    &Swarm::spare_16,      &Swarm::spare_17,      &Swarm::spare_18,     &Swarm::spare_19,
};

Firefly fireflies[MAX_FIREFLIES];
Swarm swarms[SWARM_COUNT];

int32_t selected_swarm = 1;
int32_t selected_row = 0;
int32_t panel_visible = 0;
int32_t paused = 0;
int32_t low_detail = 0;
int32_t key_cooldown = 0;
char status_text[STATUS_TEXT_SIZE];
int32_t status_frames = 0;
int32_t mouse_tool = 0;
int32_t mouse_idle_frames = 1000;
int32_t last_mouse_x = 0;
int32_t last_mouse_y = 0;

FONT* ui_font = nullptr;
BITMAP* shine_image = nullptr;
BITMAP* cursor_images[CURSOR_COUNT];
int32_t shine_kernel[10][10];

float DEG_TO_RAD = 0.0f;
float RAD_TO_DEG = 0.0f;

void set_status(const char* message) {
    std::strncpy(status_text, message, STATUS_TEXT_SIZE - 1);
    status_text[STATUS_TEXT_SIZE - 1] = '\0';
    status_frames = STATUS_SHOW_FRAMES;
}

void clear_world() {
    std::memset(fireflies, 0, sizeof fireflies);
    std::memset(swarms, 0, sizeof swarms);
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
}
