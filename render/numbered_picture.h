// Pictures the user keeps: numbered PNG files that never replace one another.
#pragma once

#include <string>

#include "files/numbered_file.h"

struct BITMAP;

// Saves bmp as PNG under the first free name of lumora-0001.png to lumora-9999.png in folder
// (empty for the working directory), the way files/numbered_file.h takes a name, so a picture
// never overwrites one kept before. The name it took, without the folder, is put in name.
// Returns false, leaving no file of its own behind and errno telling why, when the folder
// cannot be written, every name is taken or the picture cannot be written whole.
// The picture holds chunk, a text chunk (files/picture_swarms.h), when it is not empty.
bool save_numbered_picture(const char* folder, BITMAP* bmp, char (&name)[KEPT_NAME_SIZE],
                           const std::string& chunk = "");

// Saves bmp as PNG at path, which must not exist yet. Returns false, leaving no file of its own
// behind and errno telling why, when the name is taken (EEXIST) or the picture cannot be
// written whole.
bool save_new_picture(const char* path, BITMAP* bmp, const std::string& chunk = "");
