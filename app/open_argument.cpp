#include "app/open_argument.h"

#include <allegro.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "files/path.h"
#include "sim/world.h"
#include "ui/interface_state.h"

void read_file_argument(const char* program, const std::string& path, OpenedFile& opened) {
    std::string error;
    if (read_opened_file(path, opened, error)) return;
    std::fprintf(stderr, "%s cannot start: %s\n", program, error.c_str());
    // The library without a screen shows its message box (a child process on X11) when it
    // finds a display; without one it prints on standard output, which says it once more.
    if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) == 0)
        allegro_message("%s cannot start:\n%s\n", program, error.c_str());
    std::exit(1);
}

void take_opened_swarms(const std::string& path, const OpenedFile& opened) {
    if (opened.kind == OpenedKind::REPLAY) return;
    std::memcpy(swarms, opened.swarms.table, sizeof swarms);
    char text[STATUS_TEXT_SIZE];
    std::snprintf(text, sizeof text, "loaded %s", name_of(path.c_str()));
    set_status(text);
}

int opened_title_lines(const std::string& path, const OpenedFile& opened, char (&lines)[2][160]) {
    if (path.empty()) {
        std::snprintf(lines[0], sizeof lines[0],
                      "lumora FILE opens a settings file, a picture F12 kept or a replay F9 kept");
        return 1;
    }
    const char* name = name_of(path.c_str());
    switch (opened.kind) {
        case OpenedKind::SETTINGS:
            std::snprintf(lines[0], sizeof lines[0], "opened %s: the swarms of a settings file",
                          name);
            return 1;
        case OpenedKind::PICTURE:
            std::snprintf(lines[0], sizeof lines[0],
                          "opened %s: the swarms of a picture, frame %" PRId64 " (seed %" PRIu32
                          ")",
                          name, opened.swarms.frame, opened.swarms.seed);
            return 1;
        case OpenedKind::REPLAY:
            std::snprintf(lines[0], sizeof lines[0], "opened %s: a replay of %" PRId64 " frames",
                          name, opened.session.frames);
            std::snprintf(lines[1], sizeof lines[1],
                          "SPACE plays it   P pause  N one frame  G graph  F1 help  M sound  F12 "
                          "picture   ESC leave");
            return 2;
    }
    return 0;
}
