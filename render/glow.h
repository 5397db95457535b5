// Firefly glow: every live firefly adds its blinking light to the picture, channel by channel,
// saturating at white, so crowds build up towards white instead of covering each other.
#pragma once

struct BITMAP;

// Draws every live firefly onto bmp with the library's single-pixel calls.
void draw_fireflies(BITMAP* bmp);

// Adds the 10 by 10 shine, tinted with color, around (cx, cy).
void draw_glow(BITMAP* bmp, int cx, int cy, int color);

// Adds color to one pixel, saturating each channel at 255; black adds nothing and a white
// pixel stays untouched.
void add_pixel(BITMAP* bmp, int x, int y, int color);
