#include "ui/preset.h"

#include <dirent.h>

#include <cstdio>
#include <cstring>

#include "files/path.h"
#include "ui/folders.h"
#include "ui/interface_state.h"
#include "ui/settings_file.h"

static bool ends_with(const char* text, const char* tail) {
    const size_t n = std::strlen(text), m = std::strlen(tail);
    return n >= m && std::strcmp(text + n - m, tail) == 0;
}

bool find_preset(const char* folder, int n, char (&path)[PATH_SIZE]) {
    if (n < 1 || n > PRESET_MOST) return false;
    char prefix[4];
    std::snprintf(prefix, sizeof prefix, "%d-", n);
    const size_t prefix_length = std::strlen(prefix);
    DIR* dir = opendir(folder);
    if (dir == nullptr) return false;
    char best[256] = "";
    while (const dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strncmp(name, prefix, prefix_length) != 0 || !ends_with(name, ".sav")) continue;
        if (best[0] == '\0' || std::strcmp(name, best) < 0) {
            std::snprintf(best, sizeof best, "%s", name);
        }
    }
    closedir(dir);
    if (best[0] == '\0') return false;
    return join_path(path, folder, best);
}

// Shows which preset was loaded from path, whose name ends in ".sav".
static void show_preset_loaded(const char* path) {
    const char* name = name_of(path);
    const int stem = static_cast<int>(std::strlen(name)) - 4;
    char text[STATUS_TEXT_SIZE];
    std::snprintf(text, sizeof text, "loaded %.*s", stem, name);
    for (char* c = text; *c != '\0'; ++c) {
        if (*c == '-') *c = ' ';
    }
    set_status(text);
}

bool load_preset(int n) {
    char folder[PATH_SIZE];
    char path[PATH_SIZE];
    if (!join_path(folder, file_places.media_dir.c_str(), PRESETS_FOLDER_NAME) ||
        !find_preset(folder, n, path)) {
        set_status("loading failed");
        return false;
    }
    if (!load_swarms(path)) return false;
    show_preset_loaded(path);
    return true;
}
