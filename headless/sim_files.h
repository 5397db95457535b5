// The files of a headless run. Every input is read and checked first; the outputs are checked
// against the inputs and opened only then, so that a run refused for any reason leaves every
// file as it was.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "files/run_files.h"
#include "headless/input_script.h"
#include "headless/raw_video.h"
#include "headless/sim_options.h"
#include "headless/stats_file.h"
#include "headless/trace.h"
#include "headless/wav_file.h"

struct BITMAP;

// Longest input script read: some million lines, more than any run needs.
constexpr size_t SCRIPT_FILE_MAX = size_t{64} << 20;

// Reads the input script at path into lines. False after a message on standard error when it
// cannot be read (also when it is not a regular file) or has a broken line.
bool load_script(const std::string& path, std::vector<ScriptLine>& lines);

// Says on standard error why the settings file at path could not be loaded.
void report_settings_fault(const std::string& path);

// The files the run reads: the settings file and the one start-up loads instead (startup may
// be null), the input script or the replay, and the media in media_dir.
RunFiles sim_inputs(const SimOptions& options, const char* startup, const char* media_dir);

struct SimOutputs {
    TraceWriter trace;
    StatsWriter stats;
    RawVideo video;
    WavFile wav;
};

// Checks the outputs the options ask for against the inputs in files and one another, and the
// folders they go to; then opens the trace, the table, the raw video and the sound and makes the
// pictures' folders.
// Returns 0, or the exit status after a message on standard error.
int open_sim_outputs(const SimOptions& options, RunFiles& files, SimOutputs& outputs);

// Saves the last picture at path, PNG or BMP by its name, through a temporary file beside it
// that replaces the old picture only once it is whole.
bool save_shot(const std::string& path, BITMAP* bmp);
