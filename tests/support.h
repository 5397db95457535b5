// Shared set-up for tests: the library without a display, temporary folders and files. A test
// puts the program back to its start with clear_program_state().
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/shell.h"

struct BITMAP;

// Starts the library without a display (once) and sets the colour depth for new bitmaps.
void init_headless(int depth = 32);

// A fresh, empty folder for one test's files.
std::string make_temp_dir();

// Reads a whole file; empty when it cannot be read.
std::string read_file(const std::string& path);

// Writes a whole file.
void write_file(const std::string& path, const std::string& text);

// Runs program with args in folder, after the shell command `before` (such as a ulimit), its
// standard output and error going to out.txt and err.txt there; one that hangs is ended after
// two minutes. Returns the exit status, or -1 when a signal ended it.
int run_program(const std::string& folder, const std::string& program, const std::string& args,
                const std::string& before = "true");

// The names in folder that start with prefix, in byte order.
std::vector<std::string> names_starting(const std::string& folder, const std::string& prefix);

// FNV-1a over size bytes, going on from hash, for pinned checksums of files, tables and pictures.
constexpr uint64_t FNV_START = 0xcbf29ce484222325u;
uint64_t fnv1a(const void* data, size_t size, uint64_t hash = FNV_START);
