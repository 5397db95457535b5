#include "ui/settings_file.h"

#include <string>

#include "files/picture_swarms.h"
#include "ui/interface_state.h"

bool load_swarms(const char* path) {
    std::string error;
    const bool loaded = is_picture_file(path) ? read_picture_swarms_file(path, swarms, error)
                                              : read_settings_file(path, swarms);
    set_status(loaded ? "loading succesful" : "loading failed");
    return loaded;
}

bool save_swarms(const char* path) {
    // A picture the swarms were loaded from stays the picture it is.
    if (is_picture_file(path)) {
        set_status("saving failed: the file is a picture");
        return false;
    }
    const bool saved = write_settings_file(path, swarms);
    set_status(saved ? "saving succesful" : "saving failed");
    return saved;
}
