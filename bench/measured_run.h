// The start the cost benchmarks share: the arguments ASSETS_DIR SETTINGS FRAMES, then the
// library without a display at 32 bits, the media, the settings file loaded, the seed 1 and
// the back buffer with the background drawn, as lumora-sim starts a run.
#pragma once

struct BITMAP;

// Returns false after printing the usage when the arguments are wrong; ends the process naming
// the file when a media file is missing.
bool start_measured_run(const char* program, int argc, char** argv, int& frames,
                        BITMAP*& back_buffer);
