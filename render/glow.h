// Firefly glow: every live firefly adds its blinking light to the picture, channel by channel,
// saturating at white, so crowds build up towards white instead of covering each other.
#pragma once

struct BITMAP;

// Where a live firefly's light lands and its core colour, channels clamped to 0 to 255, before
// the colour is packed.
struct FireflyLight {
    int px, py;
    int r, g, b;
};

// The light of the live firefly in slot, when its glow may reach the rectangle x0 to x1 - 1,
// y0 to y1 - 1; false when it is dark (its brightness is 0) or too far outside to light any
// pixel there.
bool firefly_light(int slot, int x0, int y0, int x1, int y1, FireflyLight& light);

// Draws every live firefly onto bmp with the library's single-pixel calls: each as the 10 by 10
// shine glow, or with low_detail as the cheap 3 by 3 pattern.
void draw_fireflies(BITMAP* bmp, bool low_detail);

// Draws the same pixels as draw_fireflies, working on the rows of a memory bitmap directly.
// When background is given it is first copied over bmp, band by band together with the light,
// which keeps each band in the cache; the result is that of a blit followed by the glow.
void draw_fireflies_fast(BITMAP* bmp, bool low_detail, BITMAP* background = nullptr);

// Adds the 10 by 10 shine, tinted with color, around (cx, cy).
void draw_glow(BITMAP* bmp, int cx, int cy, int color);

// Adds color to one pixel, saturating each channel at 255; black adds nothing and a white
// pixel stays untouched.
void add_pixel(BITMAP* bmp, int x, int y, int color);
