// The help overlay: every key, the five mouse tools and the synchrony graph's legend, in a
// darkened box in the middle of the picture.
#pragma once

struct BITMAP;

// The box, corners included, on the 1024 by 768 layout.
constexpr int HELP_LEFT = 292;
constexpr int HELP_TOP = 128;
constexpr int HELP_RIGHT = 731;
constexpr int HELP_BOTTOM = 631;

// Darkens the box and draws the help text into it, in the middle of bmp at the given scale
// (render/overlay_place.h); changes nothing else.
void draw_help(BITMAP* bmp, int scale = 1);
