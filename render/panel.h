// The swarm settings panel: the selected swarm's twelve parameters in the top left corner,
// the edited row on a grey bar, a frame in the swarm's colour and a box in its target's.
#pragma once

struct BITMAP;

// Draws the panel onto bmp; it reads the state and changes nothing.
void draw_panel(BITMAP* bmp);
