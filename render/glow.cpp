#include "render/glow.h"

#include <allegro.h>

#include <cmath>

#include "render/color.h"
#include "render/media.h"
#include "sim/blink_point.h"
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
            const int cell =
                makecol(getr(color) * k / 10, getg(color) * k / 10, getb(color) * k / 10);
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

bool firefly_light(int slot, int x0, int y0, int x1, int y1, FireflyLight& light) {
    const Firefly& f = fireflies[slot];
    // The sine of the glow phase comes with its cosine, which the synchrony measures at the end
    // of the frame take from the same slot instead of working it out again.
    const float brightness = static_cast<float>((blink_point(slot).sine + 1.0) / 2.0);
    light.px = trunc_to_int(f.x);
    light.py = trunc_to_int(f.y);
    if (!(brightness > 0.0f)) return false;
    if (light.px < x0 - GLOW_REACH || light.py < y0 - GLOW_REACH || light.px > x1 + GLOW_REACH ||
        light.py > y1 + GLOW_REACH) {
        return false;
    }
    // Channel values of a swarm may lie anywhere; packing them unclamped would spill bits into
    // the neighbouring channel.
    const Swarm& s = swarm_of(f);
    light.r = clamp_channel(trunc_to_int(s.color_red * static_cast<double>(brightness)));
    light.g = clamp_channel(trunc_to_int(s.color_green * static_cast<double>(brightness)));
    light.b = clamp_channel(trunc_to_int(s.color_blue * static_cast<double>(brightness)));
    return true;
}

void draw_fireflies(BITMAP* bmp, bool low_detail) {
    for (int i = 0; i < firefly_capacity; ++i) {
        FireflyLight light;
        if (!is_live(fireflies[i]) || !firefly_light(i, 0, 0, bmp->w, bmp->h, light)) continue;
        const int core = makecol(light.r, light.g, light.b);
        if (!low_detail) {
            draw_glow(bmp, light.px, light.py, core);
        } else {
            draw_pattern(bmp, light.px, light.py, core);
        }
    }
}
