// Mouse tools and cursor: the left button applies the current tool, the right one selects the
// next, and the cursor hides when the mouse rests.
#pragma once

struct BITMAP;
struct InputSnapshot;

constexpr int TOOL_LURE = 0;
constexpr int TOOL_REPEL = 1;
constexpr int TOOL_ATTRACT = 2;
constexpr int TOOL_SWIRL_CW = 3;
constexpr int TOOL_SWIRL_CCW = 4;
constexpr int TOOL_RADIUS = 200;   // pixels: fireflies nearer than this are pushed
constexpr int TOOL_STRENGTH = 12;  // pixels: the push at distance 0
constexpr int CURSOR_IDLE_FRAMES = 100;

// Draws the current tool's cursor onto target at the mouse, unless the mouse has rested long
// enough to hide it. Changes nothing; the frame draws it over everything else, just before
// handle_mouse, so it shows the tool and the rest count from before this frame's clicks.
void draw_mouse_cursor(BITMAP* target, const InputSnapshot& input);

// Applies the current tool while the left button is held, switches to the next on the right
// button, and counts the frames the mouse has rested.
void handle_mouse(const InputSnapshot& input);

// Pushes every live firefly near the mouse at (mx, my) the way tool 1 to 4 does.
void apply_tool_field(int tool, int mx, int my);
