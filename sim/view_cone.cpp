#include "sim/view_cone.h"

#include <algorithm>
#include <cmath>

#include "sim/steering_grid_state.h"
#include "sim/world.h"

namespace {

// Cosines and sines of whole-degree headings, and of every field of view plus the margin.
struct HeadingTables {
    double heading_cos[360], heading_sin[360];
    double view_cos[181], view_sin[181];
};

// The tables never change; they are worked out at the first use.
const HeadingTables& headings() {
    static const HeadingTables tables = [] {
        HeadingTables t;
        for (int a = 0; a < 360; ++a) {
            t.heading_cos[a] = std::cos(a * (M_PI / 180.0));
            t.heading_sin[a] = std::sin(a * (M_PI / 180.0));
        }
        for (int v = 0; v <= 180; ++v) {
            t.view_cos[v] = std::cos(std::min(180, v + VIEW_MARGIN_DEG) * (M_PI / 180.0));
            t.view_sin[v] = std::sin(std::min(180, v + VIEW_MARGIN_DEG) * (M_PI / 180.0));
        }
        return t;
    }();
    return tables;
}

// The box of the cone of directions heading - c to heading + c, with c below a right angle:
// from the walker to the ends of its two edges and to the points where its arc crosses an axis.
ConeExtent cone_box(const HeadingTables& t, int heading, int c) {
    const int lo = heading - c;  // above -90, since the heading is 0 to 359
    const int hi = heading + c;  // below 450
    const int a = (lo + 360) % 360, b = hi % 360;
    const bool right = lo <= 0 || hi >= 360, down = lo <= 90 && hi >= 90;
    const bool left = lo <= 180 && hi >= 180, up = lo <= 270 && hi >= 270;
    const double cos_hi = right ? 1.0 : std::max(t.heading_cos[a], t.heading_cos[b]);
    const double cos_lo = left ? -1.0 : std::min(t.heading_cos[a], t.heading_cos[b]);
    const double sin_hi = down ? 1.0 : std::max(t.heading_sin[a], t.heading_sin[b]);
    const double sin_lo = up ? -1.0 : std::min(t.heading_sin[a], t.heading_sin[b]);
    constexpr double ROUNDING = 1e-3;
    return ConeExtent{static_cast<float>(std::min(0.0, cos_lo) - ROUNDING),
                      static_cast<float>(std::max(0.0, cos_hi) + ROUNDING),
                      static_cast<float>(std::min(0.0, sin_lo) - ROUNDING),
                      static_cast<float>(std::max(0.0, sin_hi) + ROUNDING)};
}

}  // namespace

ViewCone view_cone_of(int own_swarm, float x, float y, int32_t heading, int32_t field_of_view) {
    ViewCone v{};
    v.x = x;
    v.y = y;
    v.heading = heading;
    v.field_of_view = field_of_view;
    v.own_swarm = own_swarm;
    v.cone_filter = field_of_view <= 180 - VIEW_MARGIN_DEG && heading >= 0 && heading < 360;
    if (v.cone_filter) {
        const HeadingTables& t = headings();
        v.hx = t.heading_cos[heading];
        v.hy = t.heading_sin[heading];
        v.cone_cos = t.view_cos[std::max(0, field_of_view)];
        v.cone_sin = t.view_sin[std::max(0, field_of_view)];
        v.cone_cos2 = v.cone_cos * v.cone_cos;
    }
    return v;
}

void prepare_cone_extents() {
    SteeringGrid& g = steering_grid;
    for (int s = 0; s < SWARM_COUNT; ++s) {
        const int view = swarms[s].field_of_view;
        if (view <= 0 || view + VIEW_MARGIN_DEG >= 90) continue;
        if (g.cone_extent_ready[s] && g.cone_extent_view[s] == view) continue;
        for (int h = 0; h < 360; ++h) {
            g.cone_extent[s][h] = cone_box(headings(), h, view + VIEW_MARGIN_DEG);
        }
        g.cone_extent_view[s] = view;
        g.cone_extent_ready[s] = true;
    }
}

CellBox cells_in_view_within(const ViewCone& v, double reach) {
    const SteeringGrid& g = steering_grid;
    if (!v.cone_filter || v.cone_cos <= 0.0 || !g.cone_extent_ready[v.own_swarm] ||
        g.cone_extent_view[v.own_swarm] != v.field_of_view) {
        return cells_within(v.x, v.y, reach);
    }
    const ConeExtent& e = g.cone_extent[v.own_swarm][v.heading];
    // Beyond the field's diagonal the box only grows past the field's edges.
    const double r = std::min(reach, 2.0 * std::max(field_w_px, field_h_px)) + MARGIN_PX;
    // A candidate may be filed the loose reach further out than it stands.
    const double slack = g.loose_px + MARGIN_PX;
    const double x0 = v.x + r * e.left - slack, x1 = v.x + r * e.right + slack;
    const double y0 = v.y + r * e.up - slack, y1 = v.y + r * e.down + slack;
    // The firefly stands on the field, so x1 and y1 are not negative.
    CellBox box;
    box.c0 = x0 < 0.0 ? 0 : static_cast<int>(x0) / CELL_PX;
    box.c1 = std::min(g.columns - 1, static_cast<int>(x1) / CELL_PX);
    box.r0 = y0 < 0.0 ? 0 : static_cast<int>(y0) / CELL_PX;
    box.r1 = std::min(g.rows - 1, static_cast<int>(y1) / CELL_PX);
    return box;
}
