// The folders the program's files live in, decided once at start-up (app/file_places.h) and
// read by whatever opens a file: the media folder, which also holds the presets, and the folder
// that saved pictures go to. Empty strings keep the working directory's way of old.
#pragma once

#include "files/path.h"

// The folder the media were loaded from; empty for the working directory. Presets live in its
// "presets" folder beside the media: join_path(out, media_dir, "presets/1-name.sav") with
// files/path.h.
extern const char* media_dir;

// The folder saved pictures go to; empty for the folder that holds the settings file. An
// installed program whose settings live in the user's configuration folder sets the user's
// picture folder here; whoever saves a picture makes it first with make_folders.
extern const char* picture_dir;

// Puts the folder that kept pictures and replays go to into folder: picture_dir, made on the
// first file kept there, or when that is empty the folder that holds settings_path ("." for
// the working directory). Returns false when it cannot be made or does not fit.
bool picture_folder(char (&folder)[PATH_SIZE]);

// Creates folder and any missing folder above it with the given permission bits; an existing
// folder is fine. Returns false when one cannot be made. Allocates nothing.
bool make_folders(const char* folder, unsigned mode);
