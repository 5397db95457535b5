#include "ui/keyboard.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "render/panel.h"
#include "sim/world.h"
#include "ui/file_requests.h"
#include "ui/input.h"
#include "ui/interface_state.h"
#include "ui/undo.h"

enum ValueAction { NO_ACTION, PLUS_ONE, MINUS_ONE, PLUS_TEN, MINUS_TEN };

// The ten-step keys' step on the population row. On a table of the default 2000 slots it is
// always 10; on a bigger table it grows with the population, so that a crowd of tens of
// thousands is reached in some dozens of presses: 10 below 2000, 100 from 2000 and 1000 from
// 20,000. Lowering takes the step of the value below, so that going down retraces going up.
static int32_t population_step(int32_t v) {
    if (firefly_capacity <= MAX_FIREFLIES || v < 2000) return 10;
    return v < 20000 ? 100 : 1000;
}

// Raising saturates at the largest int; lowering never takes a value of 0 or more below 0.
static void apply_value_action(int32_t& v, ValueAction action, bool population) {
    const int32_t up = population ? population_step(v) : 10;
    const int32_t down = population && v > 0 ? population_step(v - 1) : 10;
    switch (action) {
        case PLUS_ONE:
            if (v < INT32_MAX) v += 1;
            break;
        case MINUS_ONE:
            if (v > 0) v -= 1;
            break;
        case PLUS_TEN:
            v = v > INT32_MAX - up ? INT32_MAX : v + up;
            break;
        case MINUS_TEN:
            if (v >= down) v -= down;
            break;
        case NO_ACTION:
            break;
    }
}

static void handle_general_keys(const InputSnapshot& in) {
    if (in.held[KEY_ENTER]) {
        panel_visible = panel_visible == 0 ? 1 : 0;
        key_cooldown = 0;
    }
    if (in.held[KEY_PGDN]) {
        ++selected_swarm;
        key_cooldown = 0;
    }
    if (in.held[KEY_PGUP]) {
        --selected_swarm;
        key_cooldown = 0;
    }
    if (selected_swarm >= SWARM_COUNT) selected_swarm = SWARM_COUNT - 1;
    if (selected_swarm <= 0) selected_swarm = 1;
    // What S and L ask for was served before the keys acted (ask_for_files).
    if (in.held[KEY_S] || in.held[KEY_L]) key_cooldown = 0;
    if (in.held[KEY_P]) {
        paused = paused == 0 ? 1 : 0;
        if (paused) set_status("pause");
        key_cooldown = 0;
    }
    if (in.held[KEY_D]) {
        low_detail = low_detail == 0 ? 1 : 0;
        set_status(low_detail ? "low detail" : "high detail");
        key_cooldown = 0;
    }
}

// The program's own keys: G, F1, M, F12, F9, the number keys, R, X, Z, Y, N and 0, one bit each.
static const int OWN_KEYS[] = {KEY_G, KEY_F1, KEY_M, KEY_F12, KEY_F9, KEY_1, KEY_2,
                               KEY_3, KEY_4,  KEY_5, KEY_6,   KEY_7,  KEY_8, KEY_9,
                               KEY_R, KEY_X,  KEY_Z, KEY_Y,   KEY_N,  KEY_0};
constexpr int OWN_KEY_COUNT = sizeof OWN_KEYS / sizeof OWN_KEYS[0];

static uint32_t own_key_bit(int key) {
    for (int i = 0; i < OWN_KEY_COUNT; ++i) {
        if (OWN_KEYS[i] == key) return 1u << i;
    }
    return 0;
}

static uint32_t own_keys_held(const InputSnapshot& in) {
    uint32_t held = 0;
    for (int i = 0; i < OWN_KEY_COUNT; ++i) {
        if (in.held[OWN_KEYS[i]]) held |= 1u << i;
    }
    return held;
}

// Unlike the panel's keys, which repeat every ten frames while held, the program's own keys act
// once a press: in the first frame the keyboard is open while they are held, and not again
// until they are let go, so a press a little long neither shows the graph and hides it again
// nor keeps two pictures. Replays kept before this rule play them as they were kept.
static uint32_t own_keys_acting(const InputSnapshot& in) {
    if (key_cooldown < KEY_REPEAT_FRAMES) return 0;
    const uint32_t held = own_keys_held(in);
    return additions.own_keys_repeat ? held : held & ~additions.own_keys_acted;
}

// The graph, the help, the sound, the picture and the replay change only what is drawn, heard
// and kept, never the flight. The picture, the replay, the presets, R and X are only asked for
// (ask_for_files); Z and Y undo and redo changes to the swarm table, N steps a paused flight.
static void handle_view_and_preset_keys(uint32_t acting) {
    if ((acting & own_key_bit(KEY_G)) != 0)
        additions.graph_visible = additions.graph_visible == 0 ? 1 : 0;
    if ((acting & own_key_bit(KEY_F1)) != 0)
        additions.help_visible = additions.help_visible == 0 ? 1 : 0;
    if ((acting & own_key_bit(KEY_M)) != 0) {
        additions.sound_on = additions.sound_on == 0 ? 1 : 0;
        set_status(additions.sound_on ? "sound on" : "sound off");
    }
    if ((acting & own_key_bit(KEY_Z)) != 0) undo_table_change();
    if ((acting & own_key_bit(KEY_Y)) != 0) redo_table_change();
    // N flies this one frame of a paused flight; the flight goes on unpaused anyway.
    if ((acting & own_key_bit(KEY_N)) != 0 && paused != 0) additions.step_once = true;
    if (acting != 0) key_cooldown = 0;
}

// The row keys and one value action; the value edited is the field of the row held on entry
// to the frame, even when a row key moves the row in the same frame.
static void handle_panel_keys(const InputSnapshot& in, int32_t Swarm::*field) {
    const int32_t edited_row = selected_row;
    if (in.held[KEY_DOWN] || in.held[KEY_2_PAD]) {
        ++selected_row;
        key_cooldown = 0;
    }
    if (in.held[KEY_UP] || in.held[KEY_8_PAD]) {
        --selected_row;
        key_cooldown = 0;
    }
    // Each held key replaces the choice before it, so the last one in this list wins.
    ValueAction action = NO_ACTION;
    if (in.held[KEY_RIGHT]) action = PLUS_ONE;
    if (in.held[KEY_LEFT]) action = MINUS_ONE;
    if (in.held[KEY_4_PAD]) action = MINUS_TEN;
    if (in.held[KEY_6_PAD]) action = PLUS_TEN;
    if (action != NO_ACTION) {
        SwarmTable before;
        std::memcpy(before.swarm, swarms, sizeof swarms);
        apply_value_action(swarms[selected_swarm].*field, action, field == &Swarm::population);
        note_table_change(before, TableChange::EDIT, selected_swarm, edited_row);
        key_cooldown = 0;
    }
}

void ask_for_files(const InputSnapshot& in) {
    if (key_cooldown < KEY_REPEAT_FRAMES) return;
    file_requests.save = in.held[KEY_S];
    file_requests.load = in.held[KEY_L];
    const uint32_t acting = own_keys_acting(in);
    // 0 loads preset 10, and while 0 is held the keys 1 to 9 load presets 11 to 19.
    const int bank = in.held[KEY_0] ? 10 : 0;
    for (int n = 1; n <= 9; ++n) {
        if ((acting & own_key_bit(KEY_1 + n - 1)) != 0) file_requests.presets |= 1u << (bank + n);
    }
    file_requests.random = (acting & own_key_bit(KEY_R)) != 0;
    file_requests.mutation = (acting & own_key_bit(KEY_X)) != 0;
    if ((acting & own_key_bit(KEY_0)) != 0) file_requests.presets |= 1u << 10;
    file_requests.picture = (acting & own_key_bit(KEY_F12)) != 0;
    file_requests.replay = (acting & own_key_bit(KEY_F9)) != 0;
}

// The volume keys, - and =, act once a press however long they are held, a step of a tenth of
// the full loudness each: a press is a key held now that was not held in the frame before.
// They do not wait for the key rest nor start it.
static void handle_volume_keys(const InputSnapshot& in) {
    const int32_t held = (in.held[KEY_MINUS] ? 1 : 0) | (in.held[KEY_EQUALS] ? 2 : 0);
    const int32_t pressed = held & ~additions.volume_keys_held;
    additions.volume_keys_held = held;
    if (pressed == 0) return;
    if ((pressed & 1) != 0 && additions.sound_volume > 0) --additions.sound_volume;
    if ((pressed & 2) != 0 && additions.sound_volume < SOUND_VOLUME_STEPS) ++additions.sound_volume;
    char text[STATUS_TEXT_SIZE];
    std::snprintf(text, sizeof text, "volume %d%%",
                  100 * additions.sound_volume / SOUND_VOLUME_STEPS);
    set_status(text);
}

void handle_keyboard(const InputSnapshot& input) {
    handle_volume_keys(input);
    int32_t Swarm::*const field = SWARM_FIELD_TABLE[selected_row].member;
    const uint32_t acting = own_keys_acting(input);
    additions.own_keys_acted = (additions.own_keys_acted | acting) & own_keys_held(input);
    if (key_cooldown >= KEY_REPEAT_FRAMES) {
        handle_general_keys(input);
        handle_view_and_preset_keys(acting);
        if (panel_visible != 0) handle_panel_keys(input, field);
        if (selected_row < 0) selected_row = PANEL_ROWS - 1;
        if (selected_row >= PANEL_ROWS) selected_row = 0;
    }
    if (++key_cooldown > KEY_COOLDOWN_CAP) key_cooldown = KEY_COOLDOWN_CAP;
}
