#include "ui/picture_request.h"

#include <cstring>

#include "render/numbered_picture.h"
#include "ui/interface_state.h"
#include "ui/settings_file.h"

// The folder part of path: empty for a bare name, which means the working directory.
static bool folder_of(const char* path, char (&folder)[4096]) {
    const char* slash = std::strrchr(path, '/');
    const size_t length = slash == nullptr ? 0 : slash == path ? 1 : slash - path;
    if (length >= sizeof folder) return false;
    std::memcpy(folder, path, length);
    folder[length] = '\0';
    return true;
}

void serve_picture_request(BITMAP* picture) {
    if (picture_requested == 0) return;
    picture_requested = 0;
    char folder[4096];
    const bool saved = picture != nullptr && folder_of(settings_path, folder) &&
                       save_numbered_picture(folder, picture);
    set_status(saved ? "picture saved" : "picture failed");
}
