#include "ui/picture_request.h"

#include <cstdio>

#include "files/path.h"
#include "render/numbered_picture.h"
#include "ui/folders.h"
#include "ui/interface_state.h"
#include "ui/session.h"

void serve_picture_request(BITMAP* picture) {
    if (picture_requested == 0) return;
    picture_requested = 0;
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
