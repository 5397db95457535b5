// Files the user keeps under numbered names, lumora-0001.png, lumora-0002.replay and so on,
// that never replace one another. Each is written as a temporary file beside its name and
// takes the name only once whole, so a name that exists always holds a whole file, however
// the program ends while it writes.
#pragma once

#include <cstdio>

#include "files/path.h"

// The highest number a kept file's name can carry: lumora-9999.png.
constexpr int KEPT_NUMBER_MAX = 9999;

// Room for a kept file's name without its folder, such as "lumora-0001.replay".
constexpr int KEPT_NAME_SIZE = 32;

// Writes a kept file's contents to out. Returns false when it could not write all of them.
using KeptWriter = bool (*)(std::FILE* out, void* context);

// Writes a file with write, which gets context, and gives it the first free name of
// lumora-0001.EXTENSION to lumora-9999.EXTENSION in folder (empty for the working directory);
// its path is put in path. A name is taken only if no file of that name exists, so a kept file
// never replaces one kept before, even one another program writes meanwhile. Returns false,
// leaving no file of its own behind and errno telling why, when the folder cannot be written,
// the contents cannot be written whole or every name is taken (EEXIST).
bool keep_numbered_file(const char* folder, const char* extension, KeptWriter write, void* context,
                        char (&path)[PATH_SIZE]);

// Writes a file that holds its own name, such as a replay whose last status line says where it
// was saved: write gets the name (without the folder) it is to be kept under. Like
// keep_numbered_file; a name another program takes while the file is written moves it on to
// the next name, written again.
using NamedWriter = bool (*)(std::FILE* out, const char* name, void* context);
bool keep_self_naming_file(const char* folder, const char* extension, NamedWriter write,
                           void* context, char (&path)[PATH_SIZE]);

// The same under path, which must not exist yet (EEXIST when it does, also as a dangling link).
bool keep_new_file(const char* path, KeptWriter write, void* context);
