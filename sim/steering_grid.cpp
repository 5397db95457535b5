#include "sim/steering_grid.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "sim/four_at_once.h"
#include "sim/geometry.h"
#include "sim/steering.h"
#include "sim/world.h"

namespace {

constexpr int CELL_PX = 128;
constexpr int GRID_COLUMNS = SCREEN_W_PX / CELL_PX;
constexpr int GRID_ROWS = SCREEN_H_PX / CELL_PX;
constexpr int FIELD_CELLS = GRID_COLUMNS * GRID_ROWS;
// Slots off the field at the start of the frame (pushed by the mouse, or infinite or NaN after
// extreme settings) share one extra cell that every search looks at.
constexpr int OUTSIDE_CELL = FIELD_CELLS;
constexpr int BUCKETS = FIELD_CELLS + 1;
constexpr int NO_SLOT = -1;

// Slots are filed by where they stood when the frame's steering began. A firefly that has
// moved on stays filed there as long as it is within `loose_px` pixels on each axis, so
// searches reach this much further; one that moved further (such as across a wrapped edge)
// joins its swarm's list of strays, which every search looks through. The loose reach is
// what the fastest swarm can move in one frame, at most LOOSE_MAX_PX: beyond that, searches
// would grow more than the few strays cost.
constexpr float LOOSE_MAX_PX = 16.0f;
float loose_px = LOOSE_MAX_PX;
// Searches reach this much beyond their radius, far more than the rounding of a float
// difference could ever move a distance.
constexpr double MARGIN_PX = 1.0;
// Every slot filed in a cell lies within this distance of the cell's centre; set with the
// loose reach.
double cell_reach_px = (CELL_PX / 2 + LOOSE_MAX_PX) * M_SQRT2 + MARGIN_PX;
// Up to this communication range the partner is looked for in the cells around the firefly;
// beyond it, members are tried from the highest slot down, which ends early because many of
// them are in range.
constexpr double PARTNER_CELL_SEARCH_PX = 128.0;
// A candidate whose direction lies this far beyond the field of view cannot be visible, since
// truncating a bearing to whole degrees moves it by less than one degree.
constexpr int VIEW_MARGIN_DEG = 2;

// Slots by swarm, cell and ascending slot number: bucket b of swarm s holds
// entries[start[s][b]] up to entries[start[s][b + 1]] - 1.
int16_t entries[MAX_FIREFLIES + 8];  // padded for reading eight at a time
int start[SWARM_COUNT][BUCKETS + 1];
// Per swarm, its slots in ascending order, and each slot's place in that list.
int16_t members[SWARM_COUNT][MAX_FIREFLIES];
int member_count[SWARM_COUNT];
int16_t member_place[MAX_FIREFLIES];
// Strays per swarm, in the order they strayed.
int16_t strays[SWARM_COUNT][MAX_FIREFLIES];
int stray_count[SWARM_COUNT];

// Current positions by entry, in bucket order, for scanning a bucket four entries at a time;
// padded so that a group of four may run past the last bucket's end.
float entry_x[MAX_FIREFLIES + 4], entry_y[MAX_FIREFLIES + 4];
int16_t entry_of[MAX_FIREFLIES];

int8_t slot_swarm[MAX_FIREFLIES];  // -1 for a slot that belongs to no searchable swarm
int16_t filed_cell[MAX_FIREFLIES];
bool strayed[MAX_FIREFLIES];
float filed_x[MAX_FIREFLIES], filed_y[MAX_FIREFLIES];
// Current positions, kept equal to the table's, side by side for quick reading.
float pos_x[MAX_FIREFLIES], pos_y[MAX_FIREFLIES];

// Each firefly's target and partner of its previous steering step. Fireflies move little from
// one frame to the next, so these are likely to qualify again; tested first, they narrow every
// search from the start. They are only hints: each is tested exactly before it counts, and a
// search finds any better choice as it would without them.
int16_t previous_target[MAX_FIREFLIES];
int16_t previous_partner[MAX_FIREFLIES];

// Whether slot j is a candidate of the walk: a member of the target swarm other than the
// walker itself.
bool is_candidate(int swarm, int self, int j) {
    return j >= 0 && j < MAX_FIREFLIES && j != self && slot_swarm[j] == swarm;
}

// Cosines and sines of whole-degree headings, for the cheap view test.
double heading_cos[360], heading_sin[360];
double view_cos[181];  // cosine and sine of a field of view plus the margin
double view_sin[181];
bool tables_ready = false;

// The bounding box of a narrow view cone of unit length: how far it reaches from the walker
// along each axis, each bound taken outwards by a little for rounding.
struct ConeExtent {
    float left, right, up, down;
};
// Per swarm and whole-degree heading, for the field of view they were worked out for.
ConeExtent cone_extent[SWARM_COUNT][360];
int cone_extent_view[SWARM_COUNT];
bool cone_extent_ready[SWARM_COUNT];

void prepare_tables() {
    for (int a = 0; a < 360; ++a) {
        heading_cos[a] = std::cos(a * (M_PI / 180.0));
        heading_sin[a] = std::sin(a * (M_PI / 180.0));
    }
    for (int v = 0; v <= 180; ++v) {
        view_cos[v] = std::cos(std::min(180, v + VIEW_MARGIN_DEG) * (M_PI / 180.0));
        view_sin[v] = std::sin(std::min(180, v + VIEW_MARGIN_DEG) * (M_PI / 180.0));
    }
    tables_ready = true;
}

// The box of the cone of directions heading - c to heading + c, with c below a right angle:
// from the walker to the ends of its two edges and to the points where its arc crosses an axis.
ConeExtent cone_box(int heading, int c) {
    const int lo = heading - c;  // above -90, since the heading is 0 to 359
    const int hi = heading + c;  // below 450
    const int a = (lo + 360) % 360, b = hi % 360;
    const bool right = lo <= 0 || hi >= 360, down = lo <= 90 && hi >= 90;
    const bool left = lo <= 180 && hi >= 180, up = lo <= 270 && hi >= 270;
    const double cos_hi = right ? 1.0 : std::max(heading_cos[a], heading_cos[b]);
    const double cos_lo = left ? -1.0 : std::min(heading_cos[a], heading_cos[b]);
    const double sin_hi = down ? 1.0 : std::max(heading_sin[a], heading_sin[b]);
    const double sin_lo = up ? -1.0 : std::min(heading_sin[a], heading_sin[b]);
    constexpr double ROUNDING = 1e-3;
    return ConeExtent{static_cast<float>(std::min(0.0, cos_lo) - ROUNDING),
                      static_cast<float>(std::max(0.0, cos_hi) + ROUNDING),
                      static_cast<float>(std::min(0.0, sin_lo) - ROUNDING),
                      static_cast<float>(std::max(0.0, sin_hi) + ROUNDING)};
}

// A firefly's speed lies between its swarm's lowest and highest speed, or is the highest when
// they cross; each frame it moves by its speed along its heading and by up to two pixels of
// flutter across it. A pixel more covers rounding.
void choose_loose_reach() {
    double fastest = 0.0;
    for (int s = 1; s < SWARM_COUNT; ++s) {
        fastest = std::max({fastest, std::fabs(static_cast<double>(swarms[s].highest_speed)),
                            std::fabs(static_cast<double>(swarms[s].lowest_speed))});
    }
    loose_px = static_cast<float>(std::min(static_cast<double>(LOOSE_MAX_PX), fastest + 3.0));
    cell_reach_px = (CELL_PX / 2 + loose_px) * M_SQRT2 + MARGIN_PX;
}

// Works out the cone boxes of every swarm whose field of view is narrow and has changed.
void prepare_cone_extents() {
    for (int s = 0; s < SWARM_COUNT; ++s) {
        const int view = swarms[s].field_of_view;
        if (view <= 0 || view + VIEW_MARGIN_DEG >= 90) continue;
        if (cone_extent_ready[s] && cone_extent_view[s] == view) continue;
        for (int h = 0; h < 360; ++h) cone_extent[s][h] = cone_box(h, view + VIEW_MARGIN_DEG);
        cone_extent_view[s] = view;
        cone_extent_ready[s] = true;
    }
}

int swarm_number(float swarm) {
    if (!(swarm >= 0.0f && swarm < static_cast<float>(SWARM_COUNT))) return -1;
    const int s = static_cast<int>(swarm);
    return static_cast<float>(s) == swarm ? s : -1;
}

int cell_at(float x, float y) {
    if (!(x >= 0.0f && x < static_cast<float>(SCREEN_W_PX) && y >= 0.0f &&
          y < static_cast<float>(SCREEN_H_PX))) {
        return OUTSIDE_CELL;
    }
    return static_cast<int>(y) / CELL_PX * GRID_COLUMNS + static_cast<int>(x) / CELL_PX;
}

// What one steering call knows about the firefly that looks around.
struct Walk {
    int self;
    int own_swarm;  // the walker's swarm, 1 to 9
    int swarm;      // the target swarm, 0 to 9
    float x, y;
    int32_t heading;  // truncated, as the turn is measured from it
    int32_t field_of_view;
    double range;      // communication range in pixels
    bool cone_filter;  // whether the cheap view test may reject candidates
    double hx, hy;     // unit vector of the heading
    double cone_cos;   // cosine and sine of the field of view plus the margin
    double cone_sin;
    double cone_cos2;  // the cosine squared
};

// The exact test of the walk: a candidate is visible when the whole-degree turn towards it is
// smaller than the field of view.
bool visible(const Walk& w, int j, int32_t& turn) {
    int b;
    bearing(b, w.x, w.y, pos_x[j], pos_y[j]);
    turn = angle_difference(w.heading, b);
    return std::llabs(static_cast<int64_t>(turn)) < w.field_of_view;
}

// A cheap test that only rejects candidates well outside the view cone: the cosine of the
// angle between heading and candidate, dot / d, must reach the cone's cosine. It is compared
// squared, so that no root is needed for the candidates it rejects.
bool maybe_visible(const Walk& w, float dx, float dy, double d2) {
    if (!w.cone_filter) return true;
    const double dot = dx * w.hx + dy * w.hy;
    const double reach = d2 * w.cone_cos2;
    if (w.cone_cos >= 0.0) return dot >= 0.0 && dot * dot >= reach;
    return dot >= 0.0 || dot * dot <= reach;
}

// The four-at-once test of the entries between lo and hi pixels from the walker, in its view
// cone when use_cone is set.
FourAtOnce entries_between(const Walk& w, double lo, double hi, bool use_cone) {
    FourAtOnce four(entry_x, entry_y, w.x, w.y, lo, hi);
    if (use_cone && w.cone_filter) four.set_cone(w.hx, w.hy, w.cone_cos);
    return four;
}

// Whether a cell may hold a visible candidate: whether the view cone (the field of view plus
// the margin, narrower than a right angle) passes within the cell's reach of its centre. With
// a and b the centre's offsets along and across the heading, the centre lies outside the cone
// by b cos v - a sin v, measured to the cone's edge, or by its distance from the firefly when
// the nearest point of the cone is its tip.
inline bool cell_in_view(const Walk& w, int col, int row) {
    if (!w.cone_filter || w.cone_cos <= 0.0) return true;
    const double cx = (col + 0.5) * CELL_PX - w.x;
    const double cy = (row + 0.5) * CELL_PX - w.y;
    const double a = cx * w.hx + cy * w.hy;
    const double b = std::fabs(cx * w.hy - cy * w.hx);
    // Worked out without branches: which way each test goes is hard to foresee.
    const bool near_edge = b * w.cone_cos - a * w.cone_sin <= cell_reach_px;
    const bool beside_cone = a * w.cone_cos + b * w.cone_sin >= 0.0;
    const bool near_tip = a * a + b * b <= cell_reach_px * cell_reach_px;
    return near_edge & (beside_cone | near_tip);
}

// Whether a cell's bucket of the target swarm is worth scanning for a target: not when it is
// empty or starts at a slot no lower than `below`, nor when it lies outside the view. A small
// bucket is scanned without the view test, which would cost more than the candidates it saves.
constexpr int SMALL_BUCKET = 3;

bool worth_scanning(const Walk& w, int col, int row, int below) {
    const int bucket = row * GRID_COLUMNS + col;
    const int first = start[w.swarm][bucket];
    const int size = start[w.swarm][bucket + 1] - first;
    if (size <= 0 || entries[first] >= below) return false;
    return size <= SMALL_BUCKET || cell_in_view(w, col, row);
}

// The cells that may hold candidates within `reach` pixels of the walker.
struct CellBox {
    int c0, c1, r0, r1;
};

// The walker stands on the field, so its coordinates are small and the box can be found with
// whole numbers: the reach grows by two pixels to cover rounding the walker's position down.
CellBox cells_within(const Walk& w, double reach) {
    const int r = static_cast<int>(std::min(reach + loose_px + MARGIN_PX, 4.0 * SCREEN_W_PX)) + 2;
    const int x = static_cast<int>(w.x);
    const int y = static_cast<int>(w.y);
    CellBox box;
    box.c0 = x - r < 0 ? 0 : (x - r) / CELL_PX;
    box.c1 = std::min(GRID_COLUMNS - 1, (x + r) / CELL_PX);
    box.r0 = y - r < 0 ? 0 : (y - r) / CELL_PX;
    box.r1 = std::min(GRID_ROWS - 1, (y + r) / CELL_PX);
    return box;
}

// The cells that may hold a visible candidate within `reach` pixels: the bounding box of the
// walker's view cone out to that distance, when the cone is narrower than a right angle and its
// box is at hand; otherwise all cells within reach.
CellBox cells_in_view_within(const Walk& w, double reach) {
    if (!w.cone_filter || w.cone_cos <= 0.0 || !cone_extent_ready[w.own_swarm] ||
        cone_extent_view[w.own_swarm] != w.field_of_view) {
        return cells_within(w, reach);
    }
    const ConeExtent& e = cone_extent[w.own_swarm][w.heading];
    // Beyond the field's diagonal the box only grows past the field's edges.
    const double r = std::min(reach, 2.0 * SCREEN_W_PX) + MARGIN_PX;
    // A candidate may be filed the loose reach further out than it stands.
    const double slack = loose_px + MARGIN_PX;
    const double x0 = w.x + r * e.left - slack, x1 = w.x + r * e.right + slack;
    const double y0 = w.y + r * e.up - slack, y1 = w.y + r * e.down + slack;
    // The walker stands on the field, so x1 and y1 are not negative.
    CellBox box;
    box.c0 = x0 < 0.0 ? 0 : static_cast<int>(x0) / CELL_PX;
    box.c1 = std::min(GRID_COLUMNS - 1, static_cast<int>(x1) / CELL_PX);
    box.r0 = y0 < 0.0 ? 0 : static_cast<int>(y0) / CELL_PX;
    box.r1 = std::min(GRID_ROWS - 1, static_cast<int>(y1) / CELL_PX);
    return box;
}

// The lowest-numbered visible candidate more than 20 and less than 80 pixels away: where the
// walk stops. Before it nothing nearer than 80 was accepted, so it is accepted too.
struct FirstClose {
    const Walk& w;
    int found = MAX_FIREFLIES;
    float dist = 0.0f;
    int32_t turn = 0;

    FourAtOnce four = entries_between(w, 19.9, 80.1, true);

    // Tries slot j; false once j and everything after it in slot order cannot matter.
    bool test(int j) {
        if (j >= found) return false;
        if (j == w.self) return true;
        const float dx = pos_x[j] - w.x;
        const float dy = pos_y[j] - w.y;
        const double d2 = squared_span(dx, dy);
        if (!(d2 > 19.9 * 19.9 && d2 < 80.1 * 80.1) || !maybe_visible(w, dx, dy, d2)) return true;
        const float d = static_cast<float>(std::sqrt(d2));
        if (!(d > TARGET_MIN_DISTANCE && d < TARGET_STOP_DISTANCE)) return true;
        int32_t t;
        if (!visible(w, j, t)) return true;
        found = j;
        dist = d;
        turn = t;
        return false;
    }
    // A bucket lists its slots in ascending order, so its scan ends at the first slot that
    // is not below the one found.
    void scan_bucket(int bucket) {
        const int end = start[w.swarm][bucket + 1];
        for (int k = start[w.swarm][bucket]; k < end && entries[k] < found; k += 4) {
            for (int m = four.mask(k) & lanes_before(k, end); m != 0; m &= m - 1) {
                if (!test(entries[k + lowest_lane(m)])) return;
            }
        }
    }
    int search(int hint) {
        if (is_candidate(w.swarm, w.self, hint)) test(hint);
        const CellBox box = cells_in_view_within(w, TARGET_STOP_DISTANCE);
        for (int row = box.r0; row <= box.r1; ++row) {
            for (int col = box.c0; col <= box.c1; ++col) {
                if (worth_scanning(w, col, row, found)) scan_bucket(row * GRID_COLUMNS + col);
            }
        }
        scan_bucket(OUTSIDE_CELL);
        for (int k = 0; k < stray_count[w.swarm]; ++k) test(strays[w.swarm][k]);
        return found == MAX_FIREFLIES ? NO_SLOT : found;
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
        const float dx = pos_x[j] - w.x;
        const float dy = pos_y[j] - w.y;
        const double d2 = squared_span(dx, dy);
        const double reach = static_cast<double>(best) + MARGIN_PX;
        if (d2 > reach * reach || !maybe_visible(w, dx, dy, d2)) return;
        const float d = static_cast<float>(std::sqrt(d2));
        if (!(d > TARGET_MIN_DISTANCE)) return;
        if (!(d < best || (d == best && j < best_slot))) return;
        int32_t t;
        if (!visible(w, j, t)) return;
        best = d;
        best_slot = j;
        turn = t;
        four.set_bounds(19.9, static_cast<double>(best) + MARGIN_PX);
    }
    void scan_bucket(int bucket) {
        const int end = start[w.swarm][bucket + 1];
        for (int k = start[w.swarm][bucket]; k < end; k += 4) {
            for (int m = four.mask(k) & lanes_before(k, end); m != 0; m &= m - 1) {
                consider(entries[k + lowest_lane(m)]);
            }
        }
    }
    int search(int hint) {
        if (is_candidate(w.swarm, w.self, hint)) consider(hint);
        scan_bucket(OUTSIDE_CELL);
        for (int k = 0; k < stray_count[w.swarm]; ++k) consider(strays[w.swarm][k]);
        // Only cells within the box of the view out to the nearest candidate so far can hold
        // a nearer one; rings of cells around the walker's own are searched outwards.
        const CellBox box = cells_in_view_within(w, static_cast<double>(best));
        const int col = static_cast<int>(w.x) / CELL_PX;
        const int row = static_cast<int>(w.y) / CELL_PX;
        const int rings = 1 + std::max({col - box.c0, box.c1 - col, row - box.r0, box.r1 - row});
        for (int ring = 0; ring < rings; ++ring) {
            // Slots filed in this ring lie at least (ring - 1) cells, less the loose reach, away.
            if ((ring - 1) * CELL_PX - loose_px > static_cast<double>(best) + MARGIN_PX) break;
            const int top = std::max(row - ring, box.r0), bottom = std::min(row + ring, box.r1);
            const int left = std::max(col - ring, box.c0), right = std::min(col + ring, box.c1);
            for (int r = top; r <= bottom; ++r) {
                const bool edge_row = r == row - ring || r == row + ring;
                for (int c = edge_row ? left : col - ring; c <= right;
                     c += edge_row || ring == 0 ? 1 : 2 * ring) {
                    if (c >= left && worth_scanning(w, c, r, MAX_FIREFLIES))
                        scan_bucket(r * GRID_COLUMNS + c);
                }
            }
        }
        return best_slot;
    }
};

bool within_range(const Walk& w, int j) {
    const float dx = pos_x[j] - w.x;
    const float dy = pos_y[j] - w.y;
    const double d2 = squared_span(dx, dy);
    const double reach = w.range + MARGIN_PX;
    if (!(d2 < reach * reach)) return false;
    return static_cast<float>(std::sqrt(d2)) < w.range;
}

// The communicating firefly: the highest-numbered candidate up to `limit` within range. A
// limit below MAX_FIREFLIES is the target where the walk stopped; within range, it is the
// answer. `hint`, the previous partner, bounds the search from below when it still qualifies.
int last_in_range(const Walk& w, int limit, int hint) {
    if (!(w.range > 0.0)) return NO_SLOT;
    if (limit < MAX_FIREFLIES && within_range(w, limit)) return limit;
    if (w.range <= PARTNER_CELL_SEARCH_PX) {
        int found = NO_SLOT;
        if (hint <= limit && is_candidate(w.swarm, w.self, hint) && within_range(w, hint))
            found = hint;
        const FourAtOnce four = entries_between(w, -1.0, w.range + MARGIN_PX, false);
        auto scan_bucket = [&](int bucket) {
            // Buckets list their slots in ascending order: scan downwards from the limit and
            // stop at the best found so far. A bucket wholly above the limit or not above the
            // best adds nothing.
            const int begin = start[w.swarm][bucket];
            const int stop = start[w.swarm][bucket + 1];
            if (begin == stop || entries[stop - 1] <= found || entries[begin] > limit) return;
            int end = entries[stop - 1] <= limit
                          ? stop
                          : begin + first_above(entries + begin, entries + stop, limit);
            while (end > begin && entries[end - 1] > found) {
                const int k = std::max(begin, end - 4);
                int m = four.mask(k) & lanes_before(k, end);
                for (; m != 0; m &= ~(1 << highest_lane(m))) {
                    const int j = entries[k + highest_lane(m)];
                    if (j <= found) return;
                    if (j != w.self && within_range(w, j)) {
                        found = j;
                        return;
                    }
                }
                end = k;
            }
        };
        const CellBox box = cells_within(w, w.range);
        for (int row = box.r0; row <= box.r1; ++row) {
            for (int col = box.c0; col <= box.c1; ++col) {
                scan_bucket(row * GRID_COLUMNS + col);
            }
        }
        scan_bucket(OUTSIDE_CELL);
        for (int k = 0; k < stray_count[w.swarm]; ++k) {
            const int j = strays[w.swarm][k];
            if (j > found && j <= limit && j != w.self && within_range(w, j)) found = j;
        }
        return found;
    }
    const int16_t* list = members[w.swarm];
    const int first = limit >= MAX_FIREFLIES ? member_count[w.swarm] - 1 : member_place[limit];
    for (int k = first; k >= 0; --k) {
        const int j = list[k];
        if (j != w.self && within_range(w, j)) return j;
    }
    return NO_SLOT;
}

}  // namespace

void build_steering_grid() {
    if (!tables_ready) prepare_tables();
    prepare_cone_extents();
    choose_loose_reach();
    for (auto& s : start) {
        for (int& b : s) b = 0;
    }
    for (int& n : member_count) n = 0;
    for (int& n : stray_count) n = 0;
    // Count the slots of every bucket, then lay the buckets out one after the other.
    for (int i = 0; i < MAX_FIREFLIES; ++i) {
        const Firefly& f = fireflies[i];
        pos_x[i] = filed_x[i] = f.x;
        pos_y[i] = filed_y[i] = f.y;
        strayed[i] = false;
        const int s = swarm_number(f.swarm);
        slot_swarm[i] = static_cast<int8_t>(s);
        if (s < 0) continue;
        filed_cell[i] = static_cast<int16_t>(cell_at(f.x, f.y));
        ++start[s][filed_cell[i] + 1];
        member_place[i] = static_cast<int16_t>(member_count[s]);
        members[s][member_count[s]++] = static_cast<int16_t>(i);
    }
    // Each count sits one place after its bucket, so the running sum gives where every
    // bucket begins; the swarms follow one another in the one array.
    int offset = 0;
    for (auto& s : start) {
        for (int b = 0; b <= BUCKETS; ++b) {
            offset += s[b];
            s[b] = offset;
        }
    }
    // Fill in slot order, so each bucket lists its slots in ascending order.
    int fill[SWARM_COUNT][BUCKETS];
    for (int s = 0; s < SWARM_COUNT; ++s) {
        for (int b = 0; b < BUCKETS; ++b) fill[s][b] = start[s][b];
    }
    for (int i = 0; i < MAX_FIREFLIES; ++i) {
        const int s = slot_swarm[i];
        if (s < 0) continue;
        const int k = fill[s][filed_cell[i]]++;
        entries[k] = static_cast<int16_t>(i);
        entry_of[i] = static_cast<int16_t>(k);
        entry_x[k] = fireflies[i].x;
        entry_y[k] = fireflies[i].y;
    }
}

void update_steering_grid(int index) {
    const Firefly& f = fireflies[index];
    pos_x[index] = f.x;
    pos_y[index] = f.y;
    const int s = slot_swarm[index];
    if (s < 0) return;
    entry_x[entry_of[index]] = f.x;
    entry_y[entry_of[index]] = f.y;
    if (strayed[index] || filed_cell[index] == OUTSIDE_CELL) return;
    if (!(std::fabs(f.x - filed_x[index]) <= loose_px &&
          std::fabs(f.y - filed_y[index]) <= loose_px)) {
        strayed[index] = true;
        strays[s][stray_count[s]++] = static_cast<int16_t>(index);
    }
}

int steer_firefly_fast(int index) {
    Firefly& f = fireflies[index];
    const Swarm& s = swarm_of(f);
    // A firefly off the field has no cells around it; it walks the table the plain way.
    if (!(f.swarm > 0.0f) || cell_at(f.x, f.y) == OUTSIDE_CELL) return steer_firefly(index);

    Walk w;
    w.self = index;
    w.own_swarm = static_cast<int>(&s - swarms);
    w.swarm = s.target_swarm >= 0 && s.target_swarm < SWARM_COUNT ? s.target_swarm : -1;
    w.x = f.x;
    w.y = f.y;
    w.heading = trunc_to_int(f.heading);
    w.field_of_view = s.field_of_view;
    w.range = s.communication / 10.0;
    w.cone_filter = w.field_of_view <= 180 - VIEW_MARGIN_DEG && w.heading >= 0 && w.heading < 360;
    if (w.cone_filter) {
        w.hx = heading_cos[w.heading];
        w.hy = heading_sin[w.heading];
        w.cone_cos = view_cos[std::max(0, w.field_of_view)];
        w.cone_sin = view_sin[std::max(0, w.field_of_view)];
        w.cone_cos2 = w.cone_cos * w.cone_cos;
    }

    float best = NO_TARGET_DISTANCE;
    int32_t turn = 0;
    int target = NO_SLOT;
    int partner = NO_SLOT;
    if (w.swarm >= 0) {
        if (w.field_of_view > 0) {
            FirstClose close{w};
            target = close.search(previous_target[index]);
            best = close.dist;
            turn = close.turn;
        }
        if (target != NO_SLOT) {
            partner = last_in_range(w, target, previous_partner[index]);
        } else {
            if (w.field_of_view > 0) {
                NearestVisible nearest{w};
                target = nearest.search(previous_target[index]);
                best = nearest.best;
                turn = nearest.turn;
            }
            partner = last_in_range(w, MAX_FIREFLIES, previous_partner[index]);
        }
    }

    previous_target[index] = static_cast<int16_t>(target);
    previous_partner[index] = static_cast<int16_t>(partner);
    if (target != NO_SLOT) {
        f.target_distance = best;
        f.target_turn = static_cast<float>(turn);
    }
    if (partner != NO_SLOT) f.glow_phase = fireflies[partner].glow_phase;
    f.glow_phase = static_cast<float>(f.glow_phase + random_range(5, 100) / 1000.0);
    return target != NO_SLOT ? trunc_to_int(best) : 0;
}
