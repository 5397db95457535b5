#include "render/color.h"

#include <allegro.h>

int makecol_clamped(int64_t r, int64_t g, int64_t b) {
    return makecol(clamp_channel(r), clamp_channel(g), clamp_channel(b));
}

int swarm_color(const Swarm& s) { return makecol_clamped(s.color_red, s.color_green, s.color_blue); }
