// Dimming a part of the picture, so that text drawn over the fireflies stays readable while they
// still shine through.
#pragma once

struct BITMAP;

// Darkens the box from (x0, y0) to (x1, y1), both corners included like the library's
// rectangles, to a quarter of its brightness: each channel's bits move down two places. The
// part outside the bitmap and its clipping rectangle is left alone.
void darken_box(BITMAP* bmp, int x0, int y0, int x1, int y1);
