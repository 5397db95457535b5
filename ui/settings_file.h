// The settings file as the user meets it: the file that start-up loads and that the keys save
// and load, and the status line's word on how that went. The file itself, its format and its
// safe replacement, is files/settings_file.h.
#pragma once

#include "files/settings_file.h"

// Loads the swarm table from path, a settings file or a picture that carries its swarms
// (files/picture_swarms.h): all values or none. Sets "loading succesful" or "loading failed",
// and returns whether it loaded.
bool load_swarms(const char* path);

// Saves the swarm table to path with write_settings_file. Sets "saving succesful" or "saving
// failed", and returns whether it saved. A picture at path is never written over.
bool save_swarms(const char* path);
