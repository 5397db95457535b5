// Shared set-up for tests: the library without a display, and a world back at its start.
#pragma once

#include <string>

struct BITMAP;

// Starts the library without a display (once) and sets the colour depth for new bitmaps.
void init_headless(int depth = 32);

// Puts the whole world state back to program load and sets the angle constants.
void reset_state();

// A fresh, empty folder for one test's files.
std::string make_temp_dir();

// Reads a whole file; empty when it cannot be read.
std::string read_file(const std::string& path);

// Writes a whole file.
void write_file(const std::string& path, const std::string& text);
