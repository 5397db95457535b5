#include "render/color.h"

#include <allegro.h>

int swarm_color(const Swarm& s) {
    return makecol(clamp_channel(s.color_red), clamp_channel(s.color_green),
                   clamp_channel(s.color_blue));
}
