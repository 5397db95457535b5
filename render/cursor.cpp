#include "render/cursor.h"

#include <allegro.h>

#include "render/color.h"
#include "sim/world.h"

void draw_cursor(BITMAP* target, BITMAP* image, int mx, int my, const Swarm* spark) {
    // A mouse position far outside the picture shows nothing; skipping it also keeps the
    // pixel arithmetic below within the int range.
    if (mx < -CURSOR_SIZE || my < -CURSOR_SIZE || mx > target->w + CURSOR_SIZE ||
        my > target->h + CURSOR_SIZE) {
        return;
    }
    if (spark != nullptr) {
        const int c = swarm_color(*spark);
        putpixel(target, mx + 1, my, c);
        putpixel(target, mx - 1, my, c);
        putpixel(target, mx, my + 1, c);
        putpixel(target, mx, my - 1, c);
        putpixel(target, mx - 3, my - 3, c);
        putpixel(target, mx - 3, my + 3, c);
        putpixel(target, mx + 3, my - 3, c);
        putpixel(target, mx + 3, my + 3, c);
    }
    const int white = makecol(255, 255, 255);
    for (int u = 0; u < CURSOR_SIZE && u < image->w; ++u) {
        for (int v = 0; v < CURSOR_SIZE && v < image->h; ++v) {
            if (getpixel(image, u, v) != 0) putpixel(target, mx + u - 6, my + v - 6, white);
        }
    }
}
