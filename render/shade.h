// Dimming and tinting a part of the picture, so that what is drawn over the fireflies stays
// readable while they still shine through.
#pragma once

struct BITMAP;

// Darkens the box from (x0, y0) to (x1, y1), both corners included like the library's
// rectangles, to a quarter of its brightness: each channel's bits move down two places. The
// part outside the bitmap and its clipping rectangle is left alone.
void darken_box(BITMAP* bmp, int x0, int y0, int x1, int y1);

// Tints the pixels of column x from row y0 to row y1 (either may be the higher) halfway
// towards color: each channel becomes the mean of its old value and color's, rounded down.
// Two tints that overlap show both colours. The part outside the clipping rectangle is left
// alone.
void tint_vline(BITMAP* bmp, int x, int y0, int y1, int color);
