// The inputs of a headless run, read and checked before any output is opened (sim_outputs), so
// that a run refused for any reason leaves every file as it was.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "files/run_files.h"
#include "headless/input_script.h"
#include "headless/sim_options.h"

// Longest input script read: some million lines, more than any run needs.
constexpr size_t SCRIPT_FILE_MAX = size_t{64} << 20;

// Reads the input script at path into lines. False after a message on standard error when it
// cannot be read (also when it is not a regular file) or has a broken line.
bool load_script(const std::string& path, std::vector<ScriptLine>& lines);

// Says on standard error why the settings file at path could not be loaded; for a picture,
// `PATH: the picture holds no swarms ...`.
void report_settings_fault(const std::string& path);

// The files the run reads: the settings file and the one start-up loads instead (startup may
// be null), the input script or the replay, and the media in media_dir.
RunFiles sim_inputs(const SimOptions& options, const char* startup, const char* media_dir);
