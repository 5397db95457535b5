#include "render/glow.h"

#include <allegro.h>

#include <cmath>

#include "render/color.h"
#include "sim/geometry.h"
#include "sim/world.h"

// A glow reaches 5 pixels left and up and 4 right and down of its firefly; a firefly further
// outside the picture than this cannot light any of its pixels.
static constexpr int GLOW_REACH = 6;

void add_pixel(BITMAP* bmp, int x, int y, int color) {
    if (color <= 0) return;
    const int p = getpixel(bmp, x, y);
    if (p == makecol(255, 255, 255)) return;
    int r = getr(color) + getr(p);
    int g = getg(color) + getg(p);
    int b = getb(color) + getb(p);
    if (r > 255) r = 255;
    if (g > 255) g = 255;
    if (b > 255) b = 255;
    putpixel(bmp, x, y, makecol(r, g, b));
}

void draw_glow(BITMAP* bmp, int cx, int cy, int color) {
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 10; ++j) {
            const int k = shine_kernel[i][j];
            const int cell = makecol(getr(color) * k / 10, getg(color) * k / 10, getb(color) * k / 10);
            if (cell > 0) add_pixel(bmp, cx - 5 + i, cy - 5 + j, cell);
        }
    }
}

// The cheap pattern: full colour in the middle, dimmer at the four edges, dimmest at the
// four corners.
static void draw_pattern(BITMAP* bmp, int px, int py, int core) {
    const int r = getr(core), g = getg(core), b = getb(core);
    const int edge = makecol(trunc_to_int(r / 1.6), trunc_to_int(g / 1.6), trunc_to_int(b / 1.6));
    const int corner = makecol(trunc_to_int(r / 3.2), trunc_to_int(g / 3.2), trunc_to_int(b / 3.2));
    add_pixel(bmp, px, py, core);
    add_pixel(bmp, px + 1, py - 1, corner);
    add_pixel(bmp, px - 1, py + 1, corner);
    add_pixel(bmp, px + 1, py + 1, corner);
    add_pixel(bmp, px - 1, py - 1, corner);
    add_pixel(bmp, px + 1, py, edge);
    add_pixel(bmp, px - 1, py, edge);
    add_pixel(bmp, px, py + 1, edge);
    add_pixel(bmp, px, py - 1, edge);
}

void draw_fireflies(BITMAP* bmp) {
    for (int i = 0; i < MAX_FIREFLIES; ++i) {
        const Firefly& f = fireflies[i];
        if (!(f.swarm > 0.0f)) continue;
        const float brightness = static_cast<float>((std::sin(static_cast<double>(f.glow_phase)) + 1.0) / 2.0);
        const int px = trunc_to_int(f.x);
        const int py = trunc_to_int(f.y);
        if (!(brightness > 0.0f)) continue;
        if (px < -GLOW_REACH || py < -GLOW_REACH || px > bmp->w + GLOW_REACH || py > bmp->h + GLOW_REACH) continue;
        const Swarm& s = swarm_of(f);
        const int core = makecol_clamped(trunc_to_int(s.color_red * static_cast<double>(brightness)),
                                         trunc_to_int(s.color_green * static_cast<double>(brightness)),
                                         trunc_to_int(s.color_blue * static_cast<double>(brightness)));
        if (low_detail == 0) {
            draw_glow(bmp, px, py, core);
        } else {
            draw_pattern(bmp, px, py, core);
        }
    }
}
