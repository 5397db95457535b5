#include "ui/settings_file.h"

#include "ui/interface_state.h"

const char* settings_path = SETTINGS_FILE_NAME;

bool load_swarms(const char* path) {
    const bool loaded = read_settings_file(path, swarms);
    set_status(loaded ? "loading succesful" : "loading failed");
    return loaded;
}

void save_swarms(const char* path) {
    set_status(write_settings_file(path, swarms) ? "saving succesful" : "saving failed");
}
