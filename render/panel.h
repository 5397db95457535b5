// The swarm settings panel: a swarm's twelve parameters in the top left corner, the edited row
// on a grey bar, a frame in the swarm's colour and a box in its target's.
#pragma once

#include <cstdint>

#include "sim/world.h"

struct BITMAP;

constexpr int PANEL_ROWS = 12;

// One line of the panel: its text, with the value as the last %d, and the swarm field it shows.
// The keyboard edits the field of the selected line.
struct PanelRow {
    const char* format;
    int32_t Swarm::*field;
};

// The lines in the panel's order, which is not the order of the fields in the record. Line 0
// also shows the swarm number, before the value.
extern const PanelRow PANEL_ROW[PANEL_ROWS];

// Draws the panel of swarm selected_swarm (1 to 9) with line selected_row (0 to 11) on the bar
// onto bmp; it reads the swarm table and changes nothing.
void draw_panel(BITMAP* bmp, int selected_swarm, int selected_row);
