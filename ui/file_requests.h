// The user's file actions. The keys only ask for them; the frame serves what was asked at three
// moments, and nowhere else is a file of the user's read or written or an outcome kept in the
// session (ui/session.h), so a replay stands in for every file action in this one place.
//
// The order, which the results depend on:
//   with the keys:   S saves, then L loads, then each preset asked for loads, 1 to 19, so the
//                    last one wins, then R makes random swarms and X mutates the selected
//                    swarm; before the other keys act, so that a value edited and
//                    a message of P or D in the same frame come after them, and the flight of
//                    the frame uses the table they leave;
//   once drawn:      F12 keeps the picture as the user sees it, before the cursor is drawn;
//   once done:       F9 keeps the replay, which then holds every outcome of its frame.
#pragma once

#include <cstdint>

struct BITMAP;

struct FileRequests {
    bool save = false;
    bool load = false;
    uint32_t presets = 0;   // bit n: preset n (1 to PRESET_MOST)
    bool random = false;    // R: random swarms
    bool mutation = false;  // X: a mutation of the selected swarm
    bool picture = false;
    bool replay = false;
    // A replay watched in the window: each frame as drawn, before the cursor, is copied here for
    // the watcher's F12 (ui/replay_watch.h). Not a request; it stays.
    BITMAP* keep_drawn = nullptr;
};

// What the keys asked for in this frame; served requests are cleared.
extern FileRequests file_requests;

enum class FileMoment : uint8_t { KEYS, DRAWN, DONE };

// Serves the requests of moment. picture is the frame as drawn (DRAWN); null when nothing was
// drawn, which a picture cannot be kept from.
void serve_file_requests(FileMoment moment, BITMAP* picture = nullptr);
