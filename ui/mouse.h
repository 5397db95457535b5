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

// Draws the cursor onto target when drawing is on, applies and switches the tools, and counts
// the frames the mouse has rested.
void handle_mouse(BITMAP* target, const InputSnapshot& input, bool draw);

// Pushes every live firefly near the mouse at (mx, my) the way tool 1 to 4 does.
void apply_tool_field(int tool, int mx, int my);
