#include "ui/settings_file.h"

#include "ui/interface_state.h"


bool load_swarms(const char* path) {
    const bool loaded = read_settings_file(path, swarms);
    set_status(loaded ? "loading succesful" : "loading failed");
    return loaded;
}

bool save_swarms(const char* path) {
    const bool saved = write_settings_file(path, swarms);
    set_status(saved ? "saving succesful" : "saving failed");
    return saved;
}
