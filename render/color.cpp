#include "render/color.h"

#include <allegro.h>

static int clamp_channel(int64_t v) { return v < 0 ? 0 : v > 255 ? 255 : static_cast<int>(v); }

int makecol_clamped(int64_t r, int64_t g, int64_t b) {
    return makecol(clamp_channel(r), clamp_channel(g), clamp_channel(b));
}

int swarm_color(const Swarm& s) { return makecol_clamped(s.color_red, s.color_green, s.color_blue); }
