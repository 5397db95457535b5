// A file the window programs are asked to open on their command line: a settings file, a
// picture that carries its swarms (files/picture_swarms.h) or a replay (files/replay_file.h),
// told apart by what the file holds, not by its name.
#pragma once

#include <string>

#include "files/picture_swarms.h"
#include "files/replay_file.h"

enum class OpenedKind { SETTINGS, PICTURE, REPLAY };

struct OpenedFile {
    OpenedKind kind = OpenedKind::SETTINGS;
    PictureSwarms swarms;  // a settings file's or a picture's table (and a picture's seed, frame)
    Session session;       // a replay's
};

// Reads the file at path. False, with `PATH: what is wrong` in error, when it cannot be read,
// is broken, or is none of the three kinds.
bool read_opened_file(const std::string& path, OpenedFile& opened, std::string& error);
