#include "ui/settings_file.h"

#include "ui/interface_state.h"

const char* settings_path = SETTINGS_FILE_NAME;

void load_swarms(const char* path) {
    set_status(read_settings_file(path, swarms) ? "loading succesful" : "loading failed");
}

void save_swarms(const char* path) {
    set_status(write_settings_file(path, swarms) ? "saving succesful" : "saving failed");
}
