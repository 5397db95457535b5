#include "files/opened_file.h"

#include "files/input_file.h"
#include "files/settings_file.h"

bool read_opened_file(const std::string& path, OpenedFile& opened, std::string& error) {
    std::string text;
    const InputFault fault = read_input_file(path.c_str(), REPLAY_FILE_MAX, text);
    if (fault != InputFault::NONE) {
        error = path + ": it " + input_fault_text(fault);
        return false;
    }
    if (is_png(text)) {
        opened.kind = OpenedKind::PICTURE;
        std::string what;
        if (find_picture_swarms(text, opened.swarms, what)) return true;
        error = path + ": the picture " + what;
        return false;
    }
    if (text.compare(0, 14, "lumora-replay ") == 0) {
        opened.kind = OpenedKind::REPLAY;
        // The reader names the file and the line.
        return read_replay(text, path, opened.session, error);
    }
    opened.kind = OpenedKind::SETTINGS;
    if (read_settings(std::string_view(text), opened.swarms.table)) return true;
    error = path + ": it is no settings file (200 whole numbers), picture with swarms or replay";
    return false;
}
