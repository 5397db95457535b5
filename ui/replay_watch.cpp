#include "ui/replay_watch.h"

#include <cinttypes>
#include <cstdio>

#include "render/numbered_picture.h"
#include "ui/folders.h"
#include "ui/interface_state.h"
#include "ui/session.h"

namespace {

enum class WatchAction : uint8_t { PAUSE, STEP, GRAPH, HELP, SOUND, PICTURE };

struct WatchKey {
    int key;
    WatchAction action;
};

// The keys that only watch, one a line.
const WatchKey WATCH_KEYS[] = {
    {KEY_P, WatchAction::PAUSE},      // pause, or play on
    {KEY_N, WatchAction::STEP},       // one frame while paused
    {KEY_G, WatchAction::GRAPH},      // the synchrony graph
    {KEY_F1, WatchAction::HELP},      // the help
    {KEY_M, WatchAction::SOUND},      // the sound off or on
    {KEY_F12, WatchAction::PICTURE},  // keep the picture shown
};
constexpr int WATCH_KEY_COUNT = sizeof WATCH_KEYS / sizeof WATCH_KEYS[0];

// Ticks a note stays: two seconds.
constexpr int NOTE_TICKS = 120;

}  // namespace

static void note(ReplayWatch& watch, const char* text) {
    std::snprintf(watch.note, sizeof watch.note, "%s", text);
    watch.note_ticks = NOTE_TICKS;
}

static void keep_shown_picture(ReplayWatch& watch, BITMAP* shown) {
    char folder[PATH_SIZE];
    char name[KEPT_NAME_SIZE] = "";
    if (shown != nullptr && picture_folder(folder) &&
        save_numbered_picture(folder, shown, name, picture_swarms_chunk())) {
        char text[STATUS_TEXT_SIZE];
        std::snprintf(text, sizeof text, "saved %s", name);
        note(watch, text);
    } else {
        note(watch, "picture failed");
    }
}

int watch_replay_keys(ReplayWatch& watch, const InputSnapshot& keys, BITMAP* shown) {
    uint32_t held = 0;
    for (int i = 0; i < WATCH_KEY_COUNT; ++i) {
        if (keys.held[WATCH_KEYS[i].key]) held |= 1u << i;
    }
    const uint32_t pressed = held & ~watch.held;
    watch.held = held;
    if (watch.note_ticks > 0) --watch.note_ticks;
    bool step = false;
    for (int i = 0; i < WATCH_KEY_COUNT; ++i) {
        if ((pressed >> i & 1) == 0) continue;
        switch (WATCH_KEYS[i].action) {
            case WatchAction::PAUSE:
                watch.paused = !watch.paused;
                break;
            case WatchAction::STEP:
                step = watch.paused;
                break;
            case WatchAction::GRAPH:
                additions.graph_visible = additions.graph_visible == 0 ? 1 : 0;
                break;
            case WatchAction::HELP:
                additions.help_visible = additions.help_visible == 0 ? 1 : 0;
                break;
            case WatchAction::SOUND:
                additions.sound_on = additions.sound_on == 0 ? 1 : 0;
                note(watch, additions.sound_on ? "sound on" : "sound off");
                break;
            case WatchAction::PICTURE:
                keep_shown_picture(watch, shown);
                break;
        }
    }
    return watch.paused && !step ? 0 : 1;
}

void watch_line(const ReplayWatch& watch, int64_t frame, int64_t frames,
                char (&line)[WATCH_LINE_SIZE]) {
    const char* state = frame >= frames ? "ended" : watch.paused ? "paused" : "playing";
    std::snprintf(line, sizeof line,
                  "replay %s, frame %" PRId64 " of %" PRId64
                  "   P pause  N one frame  G F1 M F12  ESC leave   %s",
                  state, frame, frames, watch.note_ticks > 0 ? watch.note : "");
}
