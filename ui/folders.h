// The places the program's files live in, decided once at start-up (app/file_places.h) and
// read by whatever opens a file: the media folder, which also holds the presets, the settings
// file, and the folder that saved pictures go to. Empty folders keep the working directory's
// way of old; paths inside it stay relative ("lmr.sav"), as they always were.
#pragma once

#include <string>

#include "files/path.h"
#include "files/settings_file.h"

struct FilePlaces {
    // The folder the media were loaded from. Presets live in its "presets" folder beside the
    // media.
    std::string media_dir;
    std::string settings_path = SETTINGS_FILE_NAME;  // the file S and L use
    // The file start-up loads instead of settings_path; empty when it loads settings_path. Set
    // when the user's own settings file could not be made, so the program starts with the
    // shipped one.
    std::string startup_settings;
    // The folder saved pictures go to; empty for the folder that holds the settings file. An
    // installed program whose settings live in the user's configuration folder sets the user's
    // picture folder here; whoever saves a picture makes it first with make_folders.
    std::string picture_dir;
};

// The places of this run; start_run (app/run.h) chooses them, clearing puts back the defaults.
extern FilePlaces file_places;

// Puts the folder that kept pictures and replays go to into folder: picture_dir, made on the
// first file kept there, or when that is empty the folder that holds settings_path ("." for
// the working directory). Returns false when it cannot be made or does not fit.
bool picture_folder(char (&folder)[PATH_SIZE]);

// Creates folder and any missing folder above it with the given permission bits; an existing
// folder is fine. Returns false when one cannot be made. Allocates nothing.
bool make_folders(const char* folder, unsigned mode);
