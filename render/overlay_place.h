// Where the text and boxes drawn over the fireflies go on a field of any size. Each overlay is
// laid out once on a 1024 by 768 field; on a bigger field it is drawn a whole number of times
// larger, chosen from the field's height, and keeps to the same corner at the same (scaled)
// distance. At scale 1 on a 1024 by 768 field every overlay draws exactly as laid out.
#pragma once

struct BITMAP;

// The scale for a field this many pixels high: 1 below 1536, 2 from 1536, 3 from 2304, ...
// (one more for every 768 rows).
int overlay_scale(int field_h);

// The corner of the field an overlay keeps to.
enum class Anchor { TOP_LEFT, BOTTOM_RIGHT, BOTTOM_CENTRE, CENTRE };

// An overlay on a picture: its layout's pixel (x, y) covers the square of scale by scale
// pixels whose top left is (left + x * scale, top + y * scale).
struct OverlayPlace {
    int scale = 1;
    int left = 0;
    int top = 0;
    int x(int layout_x) const { return left + layout_x * scale; }
    int y(int layout_y) const { return top + layout_y * scale; }
};

// The place of an overlay kept to anchor on a picture of w by h pixels.
OverlayPlace overlay_place(int w, int h, int scale, Anchor anchor);

// The library's drawing, taking layout coordinates and drawing them at the place's scale; at
// scale 1 each is the library's own call. Corners are included, as in the library.
void place_rect(BITMAP* bmp, const OverlayPlace& p, int x0, int y0, int x1, int y1, int color);
void place_rectfill(BITMAP* bmp, const OverlayPlace& p, int x0, int y0, int x1, int y1, int color);
void place_vline(BITMAP* bmp, const OverlayPlace& p, int x, int y0, int y1, int color);
void place_putpixel(BITMAP* bmp, const OverlayPlace& p, int x, int y, int color);
void place_darken_box(BITMAP* bmp, const OverlayPlace& p, int x0, int y0, int x1, int y1);
void place_tint_vline(BITMAP* bmp, const OverlayPlace& p, int x, int y0, int y1, int color);

// Text in the interface's font, its left edge, centre or right edge at layout x, its top at
// layout y, with nothing behind it. Above scale 1 the text is drawn once into a scratch picture
// made at the first use and kept, and copied up by whole pixels: nothing else is allocated.
enum class Align { LEFT, CENTRE, RIGHT };
void place_text(BITMAP* bmp, const OverlayPlace& p, const char* text, int x, int y, int color,
                Align align = Align::LEFT);
