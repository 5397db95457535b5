// What the window programs answer on the command line: --help (or -h) and --version, on
// standard output, before anything of the library starts, so no window opens; the options
// that shape the run (--size, --fireflies, --osc-out, --osc-in); and the file to open, the first
// argument that is neither an option nor an option's value. Every other argument is ignored, as it
// always was.
#pragma once

#include <string>

#include "app/instruments.h"

struct RunDef;

// When an argument asks for the help or the version (the first such argument counts), prints
// it for program and returns true with the exit status in status: 0, or 1 when standard
// output cannot be written. Otherwise returns false and the program starts.
bool answer_command_line(int argc, char** argv, const char* program, const char* version,
                         int& status);

// The file the program is asked to open: the first argument that does not begin with '-';
// empty when there is none.
std::string file_argument(int argc, char** argv);

// Reads `--size WxH`, `--size screen` and `--fireflies N` into def. On a value out of range or
// an option without its value, prints a message naming the limits and returns false: the
// program then ends with status 2 before anything starts.
bool read_window_options(int argc, char** argv, const char* program, RunDef& def);
// Reads --osc-out HOST:PORT and --osc-in [HOST:]PORT into options. Returns false with error
// when one is given without a value, or twice.
bool read_instrument_options(int argc, char** argv, InstrumentOptions& options, std::string& error);
