// The swarm settings panel: a swarm's twelve parameters in the top left corner, the edited row
// on a grey bar, a frame in the swarm's colour and a box in its target's.
#pragma once

#include "sim/world.h"

struct BITMAP;

// The panel shows the fields a user edits, one a line in the order of SWARM_FIELD_TABLE, which
// is not the order of the fields in the record. The keyboard edits the field of the selected
// line.
constexpr int PANEL_ROWS = EDITABLE_FIELDS;

// Draws the panel of swarm selected_swarm (1 to 9) with line selected_row (0 to 11) on the bar
// onto bmp, in its top left corner at the given scale (render/overlay_place.h); it reads the
// swarm table and changes nothing.
void draw_panel(BITMAP* bmp, int selected_swarm, int selected_row, int scale = 1);
