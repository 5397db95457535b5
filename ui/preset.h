// Curated presets: settings files kept in a folder beside the media, one per number key. Preset
// N is the file in that folder whose name starts with "N-" and ends in ".sav", such as
// "3-predators-and-prey.sav"; it loads like the settings file, all values or none. The keys 1
// to 9 load presets 1 to 9, 0 loads preset 10, and 1 to 9 with 0 held presets 11 to 19.
#pragma once

#include "files/path.h"

// The presets' folder, beside the media (file_places.media_dir in ui/folders.h).
constexpr const char* PRESETS_FOLDER_NAME = "presets";

// The highest preset number a key loads.
constexpr int PRESET_MOST = 19;

// Puts the path of preset n (1 to PRESET_MOST) in folder into path: of the names that fit, the
// first in byte order, so that the choice never depends on the order the folder lists them. Returns
// false when the folder cannot be read, no name fits or the path does not fit into path.
bool find_preset(const char* folder, int n, char (&path)[PATH_SIZE]);

// Loads preset n from the presets' folder beside the media through load_swarms. The status line
// names the preset loaded: "loaded " and its file name without ".sav", hyphens as spaces, such
// as "loaded 3 fall into step", cut to the status line's length. A preset that is missing or
// broken shows "loading failed" and changes nothing. Returns whether it loaded.
bool load_preset(int n);
