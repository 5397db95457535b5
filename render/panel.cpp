#include "render/panel.h"

#include <allegro.h>

#include <cstdio>

#include "render/color.h"
#include "render/overlay_place.h"
#include "sim/world.h"

constexpr int PANEL_LINE_PX = 10;

void draw_panel(BITMAP* bmp, int selected_swarm, int selected_row, int scale) {
    const OverlayPlace p = overlay_place(bmp->w, bmp->h, scale, Anchor::TOP_LEFT);
    const Swarm& s = swarms[selected_swarm];
    const int bar_y = (selected_row + 1) * PANEL_LINE_PX;
    place_rectfill(bmp, p, 0, bar_y, 200, bar_y + 8, makecol(100, 100, 100));
    place_rect(bmp, p, 0, 2, 200, 138, swarm_color(s));
    // A target outside the table names no record, so there is no colour to show.
    if (s.target_swarm >= 0 && s.target_swarm < SWARM_COUNT) {
        place_rect(bmp, p, 210, 2, 220, 138, swarm_color(swarms[s.target_swarm]));
    }
    // Lines are formatted here and drawn as plain text: the library's own formatting would
    // allocate in every frame the panel is shown.
    const int white = makecol(255, 255, 255);
    char line[64];
    for (int row = 0; row < PANEL_ROWS; ++row) {
        const SwarmField& field = SWARM_FIELD_TABLE[row];
        const int value = s.*field.member;
        if (row == 0) {
            std::snprintf(line, sizeof line, field.panel_format, selected_swarm, value);
        } else {
            std::snprintf(line, sizeof line, field.panel_format, value);
        }
        place_text(bmp, p, line, 10, (row + 1) * PANEL_LINE_PX, white);
    }
}
