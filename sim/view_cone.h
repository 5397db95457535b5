// A firefly's view cone as the fast steering sees it: the cheap tests that reject candidates
// and cells well outside the field of view, the exact test of the walk, and the cells a
// narrow cone can reach. Internal to sim/: only the steering grid and searches include it.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "sim/cell_box.h"
#include "sim/geometry.h"
#include "sim/steering_grid_state.h"

// The cheap view tests widen the field of view by this much. A candidate the walk sees has its
// direction, as the walk works it out in single precision, inside the field of view: truncating
// never carries a direction past a whole degree, and the turn must be smaller than the field of
// view. Its exact direction can lie beyond by that rounding, under a ten-thousandth of a degree;
// the margin covers that and the four-at-once test's coarser rounding many times over.
constexpr int VIEW_MARGIN_DEG = 2;

// Where a firefly stands and what it can see.
struct ViewCone {
    float x, y;
    int32_t heading;  // truncated, as the turn is measured from it
    int32_t field_of_view;
    int own_swarm;     // the firefly's swarm, whose cone boxes apply
    bool cone_filter;  // whether the cheap tests may reject candidates and cells
    double hx, hy;     // unit vector of the heading
    double cone_cos;   // cosine and sine of the field of view plus the margin
    double cone_sin;
    double cone_cos2;  // the cosine squared
};

// The view of a firefly of swarm own_swarm standing at (x, y).
ViewCone view_cone_of(int own_swarm, float x, float y, int32_t heading, int32_t field_of_view);

// Works out the cone boxes of every swarm whose field of view is narrow and has changed.
void prepare_cone_extents();

// The cells that may hold a visible candidate within `reach` pixels of a firefly on the field:
// the bounding box of its view cone out to that distance, when the cone is narrower than a
// right angle and its box is at hand; otherwise all cells within reach.
CellBox cells_in_view_within(const ViewCone& v, double reach);

// The exact test of the walk: a candidate at (x, y) is visible when the whole-degree turn
// towards it is smaller than the field of view.
inline bool visible(const ViewCone& v, float x, float y, int32_t& turn) {
    int b;
    bearing(b, v.x, v.y, x, y);
    turn = angle_difference(v.heading, b);
    return std::llabs(static_cast<int64_t>(turn)) < v.field_of_view;
}

// A cheap test that only rejects candidates well outside the view cone, for a candidate at
// (dx, dy) from the firefly and d2 its squared distance: the cosine of the angle between
// heading and candidate, dot / d, must reach the cone's cosine. It is compared squared, so
// that no root is needed for the candidates it rejects.
inline bool maybe_visible(const ViewCone& v, float dx, float dy, double d2) {
    if (!v.cone_filter) return true;
    const double dot = dx * v.hx + dy * v.hy;
    const double reach = d2 * v.cone_cos2;
    if (v.cone_cos >= 0.0) return dot >= 0.0 && dot * dot >= reach;
    return dot >= 0.0 || dot * dot <= reach;
}

// Whether a cell may hold a visible candidate: whether the view cone (the field of view plus
// the margin, narrower than a right angle) passes within the cell's reach of its centre. With
// a and b the centre's offsets along and across the heading, the centre lies outside the cone
// by b cos v - a sin v, measured to the cone's edge, or by its distance from the firefly when
// the nearest point of the cone is its tip.
inline bool cell_in_view(const ViewCone& v, int col, int row) {
    if (!v.cone_filter || v.cone_cos <= 0.0) return true;
    const double reach = steering_grid.cell_reach_px;
    const double cx = (col + 0.5) * CELL_PX - v.x;
    const double cy = (row + 0.5) * CELL_PX - v.y;
    const double a = cx * v.hx + cy * v.hy;
    const double b = std::fabs(cx * v.hy - cy * v.hx);
    // Worked out without branches: which way each test goes is hard to foresee.
    const bool near_edge = b * v.cone_cos - a * v.cone_sin <= reach;
    const bool beside_cone = a * v.cone_cos + b * v.cone_sin >= 0.0;
    const bool near_tip = a * a + b * b <= reach * reach;
    return near_edge & (beside_cone | near_tip);
}
