// Pictures the user keeps: numbered PNG files that never replace one another.
#pragma once

struct BITMAP;

// The highest number a kept picture's name can carry: lumora-9999.png.
constexpr int PICTURE_NUMBER_MAX = 9999;
// Room for a kept picture's file name, "lumora-9999.png" and its end.
constexpr int PICTURE_NAME_SIZE = 16;

// Saves bmp as PNG under the first free name of lumora-0001.png to lumora-9999.png in folder
// (empty for the working directory) and puts that name, without the folder, into name. A name
// is taken by creating its file only if no file of that name exists, so a picture never
// overwrites one kept before, even one another program writes meanwhile. Returns false,
// leaving no file of its own behind, when the folder cannot be written, every name is taken or
// the picture cannot be written whole.
bool save_numbered_picture(const char* folder, BITMAP* bmp, char (&name)[PICTURE_NAME_SIZE]);
