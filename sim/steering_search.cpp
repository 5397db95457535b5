#include "sim/steering_search.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "sim/cell_box.h"
#include "sim/four_at_once.h"
#include "sim/geometry.h"
#include "sim/steering.h"
#include "sim/steering_grid_state.h"
#include "sim/view_cone.h"
#include "sim/world.h"

namespace {

// Up to this communication range the partner is looked for in the cells around the firefly;
// beyond it, members are tried from the highest slot down, which ends early because many of
// them are in range.
constexpr double PARTNER_CELL_SEARCH_PX = 128.0;

// What one steering call knows about the firefly that looks around.
struct Walk {
    int self;
    int swarm;     // the target swarm, 0 to 9
    double range;  // communication range in pixels
    ViewCone view;
};

// The four-at-once test of the grid's entries between lo and hi pixels from the walker, in its
// view cone when use_cone is set.
FourAtOnce entries_between(const Walk& w, double lo, double hi, bool use_cone) {
    FourAtOnce four(steering_grid.entry_x, steering_grid.entry_y, w.view.x, w.view.y, lo, hi);
    if (use_cone && w.view.cone_filter) four.set_cone(w.view.hx, w.view.hy, w.view.cone_cos);
    return four;
}

// Whether a cell's bucket of the target swarm is worth scanning for a target: not when it is
// empty or starts at a slot no lower than `below`, nor when it lies outside the view. A small
// bucket is scanned without the view test, which would cost more than the candidates it saves.
constexpr int SMALL_BUCKET = 3;

bool worth_scanning(const Walk& w, int col, int row, int below) {
    const SteeringGrid& g = steering_grid;
    const int bucket = row * g.columns + col;
    const int first = g.start[w.swarm][bucket];
    const int size = g.start[w.swarm][bucket + 1] - first;
    if (size <= 0 || g.entries[first] >= below) return false;
    return size <= SMALL_BUCKET || cell_in_view(w.view, col, row);
}

// The lowest-numbered visible candidate more than 20 and less than 80 pixels away: where the
// walk stops. Before it nothing nearer than 80 was accepted, so it is accepted too.
struct FirstClose {
    const Walk& w;
    int found = firefly_capacity;
    float dist = 0.0f;
    int32_t turn = 0;

    FourAtOnce four = entries_between(w, 19.9, 80.1, true);

    // Tries slot j; false once j and everything after it in slot order cannot matter.
    bool test(int j) {
        if (j >= found) return false;
        if (j == w.self) return true;
        const SteeringGrid& g = steering_grid;
        const float dx = g.pos_x[j] - w.view.x;
        const float dy = g.pos_y[j] - w.view.y;
        const double d2 = squared_span(dx, dy);
        if (!(d2 > 19.9 * 19.9 && d2 < 80.1 * 80.1) || !maybe_visible(w.view, dx, dy, d2)) {
            return true;
        }
        const float d = static_cast<float>(std::sqrt(d2));
        if (!(d > TARGET_MIN_DISTANCE && d < TARGET_STOP_DISTANCE)) return true;
        int32_t t;
        if (!visible(w.view, g.pos_x[j], g.pos_y[j], t)) return true;
        found = j;
        dist = d;
        turn = t;
        return false;
    }
    // A bucket lists its slots in ascending order, so its scan ends at the first slot that
    // is not below the one found.
    void scan_bucket(int bucket) {
        const SteeringGrid& g = steering_grid;
        const int end = g.start[w.swarm][bucket + 1];
        for (int k = g.start[w.swarm][bucket]; k < end && g.entries[k] < found; k += 4) {
            for (int m = four.mask(k) & lanes_before(k, end); m != 0; m &= m - 1) {
                if (!test(g.entries[k + lowest_lane(m)])) return;
            }
        }
    }
    int search(int hint) {
        const SteeringGrid& g = steering_grid;
        if (is_candidate(w.swarm, w.self, hint)) test(hint);
        const CellBox box = cells_in_view_within(w.view, TARGET_STOP_DISTANCE);
        for (int row = box.r0; row <= box.r1; ++row) {
            for (int col = box.c0; col <= box.c1; ++col) {
                if (worth_scanning(w, col, row, found)) scan_bucket(row * g.columns + col);
            }
        }
        scan_bucket(g.outside_cell);
        for (int k = 0; k < g.stray_count[w.swarm]; ++k) test(g.strays[w.swarm][k]);
        return found == firefly_capacity ? NO_SLOT : found;
    }
};

// Without a stop the walk keeps the nearest visible candidate beyond 20 pixels, of equally near
// ones the first in slot order. Cells are searched in rings outwards until no nearer candidate
// can follow.
struct NearestVisible {
    const Walk& w;
    float best = NO_TARGET_DISTANCE;
    int best_slot = NO_SLOT;
    int32_t turn = 0;
    FourAtOnce four = entries_between(w, 19.9, NO_TARGET_DISTANCE + MARGIN_PX, true);

    void consider(int j) {
        if (j == w.self) return;
        const SteeringGrid& g = steering_grid;
        const float dx = g.pos_x[j] - w.view.x;
        const float dy = g.pos_y[j] - w.view.y;
        const double d2 = squared_span(dx, dy);
        const double reach = static_cast<double>(best) + MARGIN_PX;
        if (d2 > reach * reach || !maybe_visible(w.view, dx, dy, d2)) return;
        const float d = static_cast<float>(std::sqrt(d2));
        if (!(d > TARGET_MIN_DISTANCE)) return;
        if (!(d < best || (d == best && j < best_slot))) return;
        int32_t t;
        if (!visible(w.view, g.pos_x[j], g.pos_y[j], t)) return;
        best = d;
        best_slot = j;
        turn = t;
        four.set_bounds(19.9, static_cast<double>(best) + MARGIN_PX);
    }
    void scan_bucket(int bucket) {
        const SteeringGrid& g = steering_grid;
        const int end = g.start[w.swarm][bucket + 1];
        for (int k = g.start[w.swarm][bucket]; k < end; k += 4) {
            for (int m = four.mask(k) & lanes_before(k, end); m != 0; m &= m - 1) {
                consider(g.entries[k + lowest_lane(m)]);
            }
        }
    }
    int search(int hint) {
        const SteeringGrid& g = steering_grid;
        if (is_candidate(w.swarm, w.self, hint)) consider(hint);
        scan_bucket(g.outside_cell);
        for (int k = 0; k < g.stray_count[w.swarm]; ++k) consider(g.strays[w.swarm][k]);
        // Only cells within the box of the view out to the nearest candidate so far can hold
        // a nearer one; rings of cells around the walker's own are searched outwards.
        const CellBox box = cells_in_view_within(w.view, static_cast<double>(best));
        const int col = static_cast<int>(w.view.x) / CELL_PX;
        const int row = static_cast<int>(w.view.y) / CELL_PX;
        const int rings = 1 + std::max({col - box.c0, box.c1 - col, row - box.r0, box.r1 - row});
        for (int ring = 0; ring < rings; ++ring) {
            // Slots filed in this ring lie at least (ring - 1) cells, less the loose reach, away.
            if ((ring - 1) * CELL_PX - g.loose_px > static_cast<double>(best) + MARGIN_PX) break;
            const int top = std::max(row - ring, box.r0), bottom = std::min(row + ring, box.r1);
            const int left = std::max(col - ring, box.c0), right = std::min(col + ring, box.c1);
            for (int r = top; r <= bottom; ++r) {
                const bool edge_row = r == row - ring || r == row + ring;
                for (int c = edge_row ? left : col - ring; c <= right;
                     c += edge_row || ring == 0 ? 1 : 2 * ring) {
                    if (c >= left && worth_scanning(w, c, r, firefly_capacity))
                        scan_bucket(r * g.columns + c);
                }
            }
        }
        return best_slot;
    }
};

bool within_range(const Walk& w, int j) {
    const float dx = steering_grid.pos_x[j] - w.view.x;
    const float dy = steering_grid.pos_y[j] - w.view.y;
    const double d2 = squared_span(dx, dy);
    const double reach = w.range + MARGIN_PX;
    if (!(d2 < reach * reach)) return false;
    return static_cast<float>(std::sqrt(d2)) < w.range;
}

// The communicating firefly: the highest-numbered candidate up to `limit` within range. A
// limit below firefly_capacity is the target where the walk stopped; within range, it is the
// answer. `hint`, the previous partner, bounds the search from below when it still qualifies.
int last_in_range(const Walk& w, int limit, int hint) {
    const SteeringGrid& g = steering_grid;
    if (!(w.range > 0.0)) return NO_SLOT;
    if (limit < firefly_capacity && within_range(w, limit)) return limit;
    if (w.range <= PARTNER_CELL_SEARCH_PX) {
        int found = NO_SLOT;
        if (hint <= limit && is_candidate(w.swarm, w.self, hint) && within_range(w, hint))
            found = hint;
        const FourAtOnce four = entries_between(w, -1.0, w.range + MARGIN_PX, false);
        auto scan_bucket = [&](int bucket) {
            // Buckets list their slots in ascending order: scan downwards from the limit and
            // stop at the best found so far. A bucket wholly above the limit or not above the
            // best adds nothing.
            const int begin = g.start[w.swarm][bucket];
            const int stop = g.start[w.swarm][bucket + 1];
            if (begin == stop || g.entries[stop - 1] <= found || g.entries[begin] > limit) return;
            int end = g.entries[stop - 1] <= limit
                          ? stop
                          : begin + first_above(g.entries + begin, g.entries + stop, limit);
            while (end > begin && g.entries[end - 1] > found) {
                const int k = std::max(begin, end - 4);
                int m = four.mask(k) & lanes_before(k, end);
                for (; m != 0; m &= ~(1 << highest_lane(m))) {
                    const int j = g.entries[k + highest_lane(m)];
                    if (j <= found) return;
                    if (j != w.self && within_range(w, j)) {
                        found = j;
                        return;
                    }
                }
                end = k;
            }
        };
        const CellBox box = cells_within(w.view.x, w.view.y, w.range);
        for (int row = box.r0; row <= box.r1; ++row) {
            for (int col = box.c0; col <= box.c1; ++col) {
                scan_bucket(row * g.columns + col);
            }
        }
        scan_bucket(g.outside_cell);
        for (int k = 0; k < g.stray_count[w.swarm]; ++k) {
            const int j = g.strays[w.swarm][k];
            if (j > found && j <= limit && j != w.self && within_range(w, j)) found = j;
        }
        return found;
    }
    const Slot* list = g.members[w.swarm];
    const int first =
        limit >= firefly_capacity ? g.member_count[w.swarm] - 1 : g.member_place[limit];
    for (int k = first; k >= 0; --k) {
        const int j = list[k];
        if (j != w.self && within_range(w, j)) return j;
    }
    return NO_SLOT;
}

}  // namespace

int steer_firefly_fast(int index) {
    Firefly& f = fireflies[index];
    const Swarm& s = swarm_of(f);
    // A firefly off the field has no cells around it; it walks the table the plain way.
    if (!is_live(f) || cell_at(f.x, f.y) == steering_grid.outside_cell) return steer_firefly(index);

    Walk w;
    w.self = index;
    w.swarm = s.target_swarm >= 0 && s.target_swarm < SWARM_COUNT ? s.target_swarm : -1;
    w.range = s.communication / 10.0;
    w.view = view_cone_of(static_cast<int>(&s - swarms), f.x, f.y, trunc_to_int(f.heading),
                          s.field_of_view);

    SteeringGrid& g = steering_grid;
    float best = NO_TARGET_DISTANCE;
    int32_t turn = 0;
    int target = NO_SLOT;
    int partner = NO_SLOT;
    if (w.swarm >= 0) {
        if (w.view.field_of_view > 0) {
            FirstClose close{w};
            target = close.search(g.previous_target[index]);
            best = close.dist;
            turn = close.turn;
        }
        if (target != NO_SLOT) {
            partner = last_in_range(w, target, g.previous_partner[index]);
        } else {
            if (w.view.field_of_view > 0) {
                NearestVisible nearest{w};
                target = nearest.search(g.previous_target[index]);
                best = nearest.best;
                turn = nearest.turn;
            }
            partner = last_in_range(w, firefly_capacity, g.previous_partner[index]);
        }
    }

    g.previous_target[index] = target;
    g.previous_partner[index] = partner;
    if (target != NO_SLOT) {
        f.target_distance = best;
        f.target_turn = static_cast<float>(turn);
    }
    if (partner != NO_SLOT) f.glow_phase = fireflies[partner].glow_phase;
    f.glow_phase = static_cast<float>(f.glow_phase + random_range(5, 100) / 1000.0);
    return target != NO_SLOT ? trunc_to_int(best) : 0;
}
