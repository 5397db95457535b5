// Keyboard controls: the panel, pause, glow detail, swarm and row choice, value edits, saving
// and loading, the synchrony graph, the help, the sound, pictures and presets, random swarms,
// mutation, undo and redo, and a paused flight's single frame. Keys are
// polled, and a shared frame counter spaces their actions.
#pragma once

struct InputSnapshot;

// Frames that must pass after an action before the keyboard opens again.
constexpr int KEY_REPEAT_FRAMES = 10;
constexpr int KEY_COOLDOWN_CAP = 200;

// The files the held keys ask for in this frame, put in file_requests (ui/file_requests.h) when
// the keyboard is open: S, L, the number keys, R, X, F12 and F9. The frame serves S, L and the
// presets before handle_keyboard, as the first of the general keys.
void ask_for_files(const InputSnapshot& input);

// Handles the held keys of one frame; the file keys only close the keyboard, their files being
// asked for by ask_for_files.
void handle_keyboard(const InputSnapshot& input);
