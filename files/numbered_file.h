// Files the user keeps under numbered names, lumora-0001.png, lumora-0002.replay and so on,
// that never replace one another.
#pragma once

#include <cstdio>

#include "files/path.h"

// The highest number a kept file's name can carry: lumora-9999.png.
constexpr int KEPT_NUMBER_MAX = 9999;

// Room for a kept file's name without its folder, such as "lumora-0001.replay".
constexpr int KEPT_NAME_SIZE = 32;

// Creates the file of the first free name of lumora-0001.EXTENSION to lumora-9999.EXTENSION in
// folder (empty for the working directory) and opens it for writing; its path is in path. A
// name is taken by creating its file only if no file of that name exists, so a kept file never
// replaces one kept before, even one another program writes meanwhile. Null when the folder
// cannot be written or every name is taken.
std::FILE* create_numbered_file(const char* folder, const char* extension, char (&path)[PATH_SIZE]);

// Creates the file at path only if nothing of that name exists, and opens it for writing.
// Null when the name is taken or the file cannot be made.
std::FILE* create_new_file(const char* path);
