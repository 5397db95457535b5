#include "ui/file_requests.h"

#include <cstdio>

#include "files/path.h"
#include "render/numbered_picture.h"
#include "ui/folders.h"
#include "ui/interface_state.h"
#include "ui/preset.h"
#include "ui/session.h"
#include "ui/settings_file.h"

FileRequests file_requests;

// A picture is kept as the next numbered PNG in the folder pictures go to, and the status line
// names it, such as "saved lumora-0003.png"; a picture that was not drawn fails.
static void keep_picture(BITMAP* picture) {
    if (stand_in_for(FileAction::PICTURE, picture)) return;
    char folder[PATH_SIZE];
    char name[KEPT_NAME_SIZE] = "";
    const bool saved = picture != nullptr && picture_folder(folder) &&
                       save_numbered_picture(folder, picture, name);
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

void serve_file_requests(FileMoment moment, BITMAP* picture) {
    FileRequests& r = file_requests;
    switch (moment) {
        case FileMoment::KEYS:
            if (r.save)
                run_file_action(FileAction::SAVE,
                                [] { return save_swarms(file_places.settings_path.c_str()); });
            if (r.load)
                run_file_action(FileAction::LOAD,
                                [] { return load_swarms(file_places.settings_path.c_str()); });
            for (int n = 1; n <= PRESET_MOST; ++n) {
                if ((r.presets >> n & 1) != 0)
                    run_file_action(FileAction::LOAD, [n] { return load_preset(n); });
            }
            r.save = r.load = false;
            r.presets = 0;
            break;
        case FileMoment::DRAWN:
            if (r.picture) keep_picture(picture);
            r.picture = false;
            break;
        case FileMoment::DONE:
            if (r.replay) keep_replay();
            r.replay = false;
            break;
    }
}
