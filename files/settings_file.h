// The settings file: the whole swarm table as 200 decimal integers, one per line, the ten
// records of twenty fields in order. Loading is all-or-nothing and saving replaces the file
// in one step, so a damaged file or a failed write never costs the user their settings. What
// the user is told about it is the interface's business; these only answer whether it worked.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>

#include "files/input_file.h"
#include "sim/world.h"

constexpr int SETTINGS_VALUES = SWARM_COUNT * SWARM_FIELDS;

// The settings file's name in the working directory.
constexpr const char* SETTINGS_FILE_NAME = "lmr.sav";

// Reads 200 whitespace-separated whole numbers (optional sign, decimal digits, within the
// 32-bit range) into out. Returns false, with out partly written, when fewer than 200 values
// come or one of them is not such a number. Whatever follows the 200th value is ignored.
bool read_settings(std::FILE* in, Swarm (&out)[SWARM_COUNT]);

// The same from the text of a file.
bool read_settings(std::string_view text, Swarm (&out)[SWARM_COUNT]);

// Loading reads at most this many bytes: 200 values fit in far less, however they are spaced.
constexpr size_t SETTINGS_READ_MAX = size_t{1} << 20;

// Reads the file at path like read_settings into table: all values or none, so that table is
// unchanged when the file is missing or damaged. Only a regular file is read (never waiting for
// a FIFO), and at most SETTINGS_READ_MAX bytes of it. Allocates nothing, so a frame may load.
bool read_settings_file(const char* path, Swarm (&table)[SWARM_COUNT]);

// The same, telling why it failed: fault is NONE when the file was read but does not begin with
// 200 whole numbers.
bool read_settings_file(const char* path, Swarm (&table)[SWARM_COUNT], InputFault& fault);

// Longest text of a table: 200 values of at most 11 characters and a line end each.
constexpr int SETTINGS_TEXT_MAX = SETTINGS_VALUES * 12;

// Formats the table in the file format, each value with "%d\n", into buf (at least
// SETTINGS_TEXT_MAX bytes); returns the length.
int format_settings(char* buf, const Swarm (&table)[SWARM_COUNT]);

// Writes table to path in the file format with replace_file: the file is always either the
// old one or the new one, whole; links are followed and permission bits kept. Returns false,
// leaving the old file as it was, when any step fails.
bool write_settings_file(const char* path, const Swarm (&table)[SWARM_COUNT]);
