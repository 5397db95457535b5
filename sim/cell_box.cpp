#include "sim/cell_box.h"

#include <algorithm>

#include "sim/steering_grid_state.h"

// The position is on the field, so its coordinates are small and the box can be found with
// whole numbers. Rounding the position down loses less than a pixel, which the pixel of margin
// covers; the float roundings of a candidate's distance and of its stray check stay within what
// the reach, with the loose reach, lacks of a whole pixel. The two further pixels are spare.
CellBox cells_within(float x, float y, double reach) {
    const double widest = reach + steering_grid.loose_px + MARGIN_PX;
    const int r = static_cast<int>(std::min(widest, 4.0 * std::max(field_w_px, field_h_px))) + 2;
    const int px = static_cast<int>(x);
    const int py = static_cast<int>(y);
    CellBox box;
    box.c0 = px - r < 0 ? 0 : (px - r) / CELL_PX;
    box.c1 = std::min(steering_grid.columns - 1, (px + r) / CELL_PX);
    box.r0 = py - r < 0 ? 0 : (py - r) / CELL_PX;
    box.r1 = std::min(steering_grid.rows - 1, (py + r) / CELL_PX);
    return box;
}
