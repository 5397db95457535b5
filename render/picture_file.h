// Pictures as PNG files, for the user's keepsakes and for making videos from headless runs.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

struct BITMAP;

// Puts bmp's pixels into rgb, at any colour depth: three bytes a pixel, red, green and blue,
// rows from the top, w * h * 3 bytes in all. Allocates nothing.
void copy_rgb(BITMAP* bmp, uint8_t* rgb);

// Writes bmp, at any colour depth, as an 8-bit RGB PNG to out, which is left open. Returns
// false when the picture could not be written whole.
bool write_png(std::FILE* out, BITMAP* bmp);

// The same with a text chunk (files/picture_swarms.h) right after the header: the picture's
// pixels and the rest of its bytes are what write_png writes.
bool write_png(std::FILE* out, BITMAP* bmp, const std::string& chunk);

// Writes bmp as a PNG file at path, replacing any file there; on failure no part-written file
// stays behind.
bool save_png(const char* path, BITMAP* bmp);
