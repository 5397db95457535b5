#include "ui/file_requests.h"

#include <allegro.h>

#include <cstdio>
#include <cstring>

#include "files/path.h"
#include "render/numbered_picture.h"
#include "sim/world.h"
#include "ui/explore.h"
#include "ui/folders.h"
#include "ui/interface_state.h"
#include "ui/preset.h"
#include "ui/session.h"
#include "ui/settings_file.h"
#include "ui/undo.h"

FileRequests file_requests;

// A picture is kept as the next numbered PNG in the folder pictures go to, carrying the swarms
// it shows, and the status line names it, such as "saved lumora-0003.png"; a picture that was
// not drawn fails.
static void keep_picture(BITMAP* picture) {
    if (stand_in_for(FileAction::PICTURE, picture)) return;
    char folder[PATH_SIZE];
    char name[KEPT_NAME_SIZE] = "";
    const bool saved = picture != nullptr && picture_folder(folder) &&
                       save_numbered_picture(folder, picture, name, picture_swarms_chunk());
    if (saved) {
        char text[STATUS_TEXT_SIZE];
        std::snprintf(text, sizeof text, "saved %s", name);
        set_status(text);
    } else {
        set_status("picture failed");
    }
    keep_outcome(FileAction::PICTURE, saved, name);
}

static void keep_replay() {
    if (stand_in_for(FileAction::REPLAY)) return;
    // The replay holds this F9's own outcome as the status line shows it then, naming the file:
    // a replay that exists was saved.
    const bool saved = write_kept_session();
    if (!saved) set_status("replay failed");
    keep_outcome(FileAction::REPLAY, saved);
}

static SwarmTable table_now() {
    SwarmTable table;
    std::memcpy(table.swarm, swarms, sizeof swarms);
    return table;
}

// A load, a preset or an explore as a step the user can undo.
template <typename Act>
static void change_table(FileAction action, Act act, TableChange change, int32_t swarm = 0) {
    const SwarmTable before = table_now();
    run_file_action(action, act);
    note_table_change(before, change, swarm);
}

// R and X: the explorer's table, kept in the session as a load's is, so that a replay brings it
// back without the explorer's generator.
static void explore(bool random) {
    change_table(
        FileAction::EXPLORE,
        [random] {
            char text[STATUS_TEXT_SIZE];
            if (random) {
                random_swarms(swarms);
                std::snprintf(text, sizeof text, "random swarms");
            } else {
                mutate_swarm(swarms[selected_swarm]);
                std::snprintf(text, sizeof text, "mutated swarm %d", selected_swarm);
            }
            set_status(text);
            return true;
        },
        random ? TableChange::RANDOM : TableChange::MUTATION, random ? 0 : selected_swarm);
}

void serve_file_requests(FileMoment moment, BITMAP* picture) {
    FileRequests& r = file_requests;
    switch (moment) {
        case FileMoment::KEYS:
            if (r.save)
                run_file_action(FileAction::SAVE,
                                [] { return save_swarms(file_places.settings_path.c_str()); });
            if (r.load)
                change_table(
                    FileAction::LOAD, [] { return load_swarms(file_places.settings_path.c_str()); },
                    TableChange::LOAD);
            for (int n = 1; n <= PRESET_MOST; ++n) {
                if ((r.presets >> n & 1) != 0)
                    change_table(
                        FileAction::LOAD, [n] { return load_preset(n); }, TableChange::PRESET, n);
            }
            if (r.random) explore(true);
            if (r.mutation) explore(false);
            r.save = r.load = r.random = r.mutation = false;
            r.presets = 0;
            break;
        case FileMoment::DRAWN:
            if (r.picture) keep_picture(picture);
            if (r.keep_drawn != nullptr && picture != nullptr)
                blit(picture, r.keep_drawn, 0, 0, 0, 0, picture->w, picture->h);
            r.picture = false;
            break;
        case FileMoment::DONE:
            if (r.replay) keep_replay();
            r.replay = false;
            break;
    }
}
