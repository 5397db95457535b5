// Pictures as PNG files, for the user's keepsakes and for making videos from headless runs.
#pragma once

#include <cstdio>

struct BITMAP;

// Writes bmp, at any colour depth, as an 8-bit RGB PNG to out, which is left open. Returns
// false when the picture could not be written whole.
bool write_png(std::FILE* out, BITMAP* bmp);

// Writes bmp as a PNG file at path, replacing any file there; on failure no part-written file
// stays behind.
bool save_png(const char* path, BITMAP* bmp);
