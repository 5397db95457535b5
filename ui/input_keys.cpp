#include "ui/input_keys.h"

const int INPUT_KEY_CODES[INPUT_KEY_COUNT] = {
    KEY_ENTER,  KEY_PGDN, KEY_PGUP,  KEY_S,     KEY_L,     KEY_P,     KEY_D,     KEY_UP,
    KEY_DOWN,   KEY_LEFT, KEY_RIGHT, KEY_2_PAD, KEY_4_PAD, KEY_6_PAD, KEY_8_PAD, KEY_SPACE,
    KEY_ESC,    KEY_G,    KEY_F1,    KEY_F12,   KEY_1,     KEY_2,     KEY_3,     KEY_4,
    KEY_5,      KEY_6,    KEY_7,     KEY_8,     KEY_9,     KEY_F9,    KEY_M,     KEY_MINUS,
    KEY_EQUALS, KEY_R,    KEY_X,     KEY_Z,     KEY_Y,     KEY_N,     KEY_0,
};

uint64_t held_keys(const InputSnapshot& input) {
    uint64_t keys = 0;
    for (int i = 0; i < INPUT_KEY_COUNT; ++i) {
        if (input.held[INPUT_KEY_CODES[i]]) keys |= uint64_t{1} << i;
    }
    return keys;
}

static InputSnapshot snapshot(uint64_t keys, int32_t mouse_x, int32_t mouse_y, int32_t mouse_b) {
    InputSnapshot input;
    for (int i = 0; i < INPUT_KEY_COUNT; ++i) {
        input.held[INPUT_KEY_CODES[i]] = ((keys >> i) & 1) != 0;
    }
    input.mouse_x = mouse_x;
    input.mouse_y = mouse_y;
    input.mouse_b = mouse_b;
    return input;
}

InputSnapshot snapshot_of(const InputLine& line) {
    return snapshot(line.keys, line.mouse_x, line.mouse_y, line.mouse_b);
}

KeptInput kept_input(int64_t frame, const InputSnapshot& input) {
    return {held_keys(input), static_cast<uint32_t>(frame), input.mouse_x, input.mouse_y,
            input.mouse_b};
}

InputSnapshot snapshot_of(const KeptInput& kept) {
    return snapshot(kept.keys, kept.mouse_x, kept.mouse_y, kept.mouse_b);
}
