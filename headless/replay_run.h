// lumora-sim's side of replays: a kept session played again from its first frame with every
// output the runner has, reading nothing of the user's but the replay and the media.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "files/run_files.h"
#include "headless/input_script.h"
#include "headless/sim_options.h"

// Reads the replay that options.replay names and makes the run its own: its colour depth and
// seed, its field and slots, its frames (no more than --frames) and its input as the script. On
// a file that is broken, cut short, foreign or of a newer version, or when --size or
// --fireflies ask for another field than the replay's, prints what is wrong and returns false.
bool prepare_replay(SimOptions& options, std::vector<ScriptLine>& script);

// With --pictures-dir: makes the folder when it is missing, and checks that none of the names
// the pictures will be written under is taken. Prints why and returns false when not.
bool prepare_pictures_dir(const SimOptions& options);

// With --pictures-dir: notes each picture the replay will write among the run's outputs.
// False, with error naming both, when one is an input or another output.
bool note_replay_pictures(const SimOptions& options, RunFiles& files, std::string& error);

// Instead of loading the settings: the world and the interface take the replay's start, and
// the session plays it, its file outcomes standing in for the files.
void start_replay(const SimOptions& options);

// After frame, and once more with finished after the last one played: prints what went wrong
// and returns false when the run has gone differently from the session, a picture could not be
// written, or the run ended before the replay's last frame.
bool replay_going_well(const SimOptions& options, int64_t frame, bool finished);
