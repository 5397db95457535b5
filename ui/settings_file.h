// The settings file: the whole swarm table as 200 decimal integers, one per line, the ten
// records of twenty fields in order. Loading is all-or-nothing and saving replaces the file
// in one step, so a damaged file or a failed write never costs the user their settings.
#pragma once

#include <cstdio>

#include "sim/world.h"

constexpr int SETTINGS_VALUES = SWARM_COUNT * SWARM_FIELDS;

// The settings file's name in the working directory.
constexpr const char* SETTINGS_FILE_NAME = "lmr.sav";

// The file that start-up loads and that the keyboard saves and loads.
extern const char* settings_path;

// Reads 200 whitespace-separated whole numbers (optional sign, decimal digits, within the
// 32-bit range) into out. Returns false, with out partly written, when fewer than 200 values
// come or one of them is not such a number. Whatever follows the 200th value is ignored.
bool read_settings(std::FILE* in, Swarm (&out)[SWARM_COUNT]);

// Longest text of a table: 200 values of at most 11 characters and a line end each.
constexpr int SETTINGS_TEXT_MAX = SETTINGS_VALUES * 12;

// Formats the table in the file format, each value with "%d\n", into buf (at least
// SETTINGS_TEXT_MAX bytes); returns the length.
int format_settings(char* buf, const Swarm (&table)[SWARM_COUNT]);

// Loads the table from path: all values or none. Sets "loading succesful" or "loading failed".
void load_swarms(const char* path);

// Writes table to path through a temporary file that replaces the old one only once it is
// completely written, so the file is always either the old one or the new one, whole. When
// path is a link, the file it leads to is replaced and the link stays; the new file keeps the
// old one's permission bits. Returns false, leaving the old file as it was, when any step
// fails. Sets no status.
bool write_settings_file(const char* path, const Swarm (&table)[SWARM_COUNT]);

// Saves the table to path with write_settings_file. Sets "saving succesful" or "saving failed".
void save_swarms(const char* path);
