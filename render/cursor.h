// The mouse cursor: the current tool's picture, and for the lure a spark in its swarm's colour.
#pragma once

struct BITMAP;
struct Swarm;

constexpr int CURSOR_SIZE = 13;  // pixels, square

// Draws the top-left 13 by 13 pixels of image centred on (mx, my), every pixel that is not black
// in white. With spark given, eight pixels in that swarm's colour come first, around the point.
// A position far outside target draws nothing.
void draw_cursor(BITMAP* target, BITMAP* image, int mx, int my, const Swarm* spark);
