#include "ui/picture_request.h"

#include <cstdio>
#include <cstring>

#include "files/path.h"
#include "render/numbered_picture.h"
#include "ui/folders.h"
#include "ui/interface_state.h"
#include "ui/settings_file.h"

// The folder part of path: empty for a bare name, which means the working directory.
static bool folder_of(const char* path, char (&folder)[PATH_SIZE]) {
    const char* slash = std::strrchr(path, '/');
    const size_t length = slash == nullptr ? 0 : slash == path ? 1 : slash - path;
    if (length >= sizeof folder) return false;
    std::memcpy(folder, path, length);
    folder[length] = '\0';
    return true;
}

// The folder pictures go to: the user's picture folder when start-up chose one, made on the
// first picture; otherwise the one that holds the settings file.
static bool picture_folder(char (&folder)[PATH_SIZE]) {
    if (picture_dir[0] == '\0') return folder_of(settings_path, folder);
    const int length = std::snprintf(folder, sizeof folder, "%s", picture_dir);
    return length < static_cast<int>(sizeof folder) && make_folders(folder, 0755);
}

void serve_picture_request(BITMAP* picture) {
    if (picture_requested == 0) return;
    picture_requested = 0;
    char folder[PATH_SIZE];
    char name[PICTURE_NAME_SIZE];
    if (picture == nullptr || !picture_folder(folder) ||
        !save_numbered_picture(folder, picture, name)) {
        set_status("picture failed");
        return;
    }
    char text[STATUS_TEXT_SIZE];
    std::snprintf(text, sizeof text, "saved %s", name);
    set_status(text);
}
