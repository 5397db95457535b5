// Keyboard controls: the panel, pause, glow detail, swarm and row choice, value edits, saving
// and loading, the synchrony graph, the help, the sound, pictures and presets. Keys are
// polled, and a shared frame counter spaces their actions.
#pragma once

struct InputSnapshot;

// Frames that must pass after an action before the keyboard opens again.
constexpr int KEY_REPEAT_FRAMES = 10;
constexpr int KEY_COOLDOWN_CAP = 200;

// Handles the held keys of one frame.
void handle_keyboard(const InputSnapshot& input);
