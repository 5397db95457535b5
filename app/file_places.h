// Where the program finds its files and keeps the user's. A program started in a folder that
// holds its media keeps everything there, as it always did; an installed program started
// anywhere else reads its media from "../share/lumora" beside itself and keeps the user's
// settings in the user's configuration folder and pictures in the user's picture folder.
//
// The choices are worked out from what they depend on, handed in as arguments, so the tests
// can try every case without installing anything; start-up gathers the real ones.
#pragma once

#include <string>
#include <vector>

#include "ui/folders.h"

// What the choice depends on.
struct PlaceInputs {
    std::string working_dir;     // folder the relative names refer to; empty: the process's own
    std::string program_path;    // the running program's file, from /proc/self/exe
    const char* home = nullptr;  // $HOME
    const char* xdg_config_home = nullptr;   // $XDG_CONFIG_HOME
    const char* xdg_pictures_dir = nullptr;  // $XDG_PICTURES_DIR
};

// The paths of the media files every program loads from the folder dir (empty for the
// working directory).
std::vector<std::string> media_paths(const std::string& dir);

// The installed share folder of a program: "../share/lumora" from the program's folder.
std::string installed_data_dir(const std::string& program_path);

// The folder to load the media from: the working directory when it holds all of them, else
// the installed share folder when that does, else the working directory, so that the start-up
// message names the file that is missing there.
std::string find_media_dir(const std::string& working_dir, const std::string& program_path);

// "$XDG_CONFIG_HOME/lumora/lmr.sav", or "$HOME/.config/lumora/lmr.sav" when the variable is
// unset, empty or not an absolute path. Empty when there is no home either.
std::string user_settings_path(const char* xdg_config_home, const char* home);

// The user's picture folder with "/lumora" added, the way the desktop's user-dirs.dirs file
// (its text in user_dirs) names it, else $XDG_PICTURES_DIR, else "$HOME/Pictures".
std::string user_picture_dir(const std::string& user_dirs, const char* xdg_pictures_dir,
                             const char* home);

// Makes the user's settings file from the shipped default when it does not exist yet, through
// the program's atomic writer, creating its folder first. An existing file is never touched.
// Returns false when the file is still missing.
bool make_user_settings(const std::string& path, const std::string& shipped_default);

// Chooses every place and makes the user's settings file when it is missing.
FilePlaces find_file_places(const PlaceInputs& in);

// The places of a runner (lumora-sim, lumora-sweep, the benchmarks): the media from media_dir,
// or found as find_media_dir finds them when it is empty, and the settings file it names. A
// runner that found its media in the installed share folder starts from the shipped settings
// when its settings file does not exist yet and the user did not name it.
FilePlaces find_runner_places(const PlaceInputs& in, const std::string& media_dir,
                              const std::string& settings, bool settings_given);

// The running program's own file; empty when it cannot be read.
std::string own_program_path();

// The real inputs of this process: its environment and its own file.
PlaceInputs this_process_inputs();
