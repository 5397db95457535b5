// wood.bmp: the dark wooden floor the fireflies fly over. Rows of boards with staggered
// joints, each sawn from its own log: growth rings, knots, pores and a bevelled edge.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "assets/generator/drawing.h"
#include "assets/generator/media.h"

// One board of the floor, with the geometry of the log it was sawn from.
struct Board {
    int x0, x1, y0, y1;
    double axis;     // across-board position of the log's centre line (px from the top edge)
    double depth0;   // how far below the surface the log's centre lies at the board's start
    double slope;    // the board is sawn slightly askew, so the rings' depth drifts along it
    double spacing;  // growth ring width in px
    double tone;     // brightness of this board relative to its neighbours
    double warmth;   // slight hue difference (more red, less blue) between boards
    bool has_knot;
    double knot_u, knot_v, knot_size;
    uint32_t seed;
};

static std::vector<Board> lay_boards(int w, int h, Rng& rng) {
    const int board_height = 96;  // eight rows of boards on a 768-high floor
    std::vector<Board> boards;
    for (int y0 = 0; y0 < h; y0 += board_height) {
        int x = -uniform_int(rng, 0, 500);  // staggered joints, as in a laid floor
        while (x < w) {
            Board b{};
            b.x0 = x;
            b.x1 = x + uniform_int(rng, 420, 820);
            b.y0 = y0;
            b.y1 = std::min(y0 + board_height, h);
            b.axis = uniform(rng, 20.0, 76.0);
            b.depth0 = uniform(rng, 10.0, 70.0);
            b.slope = uniform(rng, -0.09, 0.09);
            b.spacing = uniform(rng, 3.6, 6.0);
            b.tone = uniform(rng, 0.78, 1.08);
            b.warmth = uniform(rng, -0.08, 0.08);
            b.has_knot = uniform(rng, 0.0, 1.0) < 0.3;
            b.knot_u = uniform(rng, 60.0, b.x1 - b.x0 - 60.0);
            b.knot_v = uniform(rng, 22.0, 74.0);
            b.knot_size = uniform(rng, 6.0, 11.0);
            b.seed = next_bits(rng);
            boards.push_back(b);
            x = b.x1;
        }
    }
    return boards;
}

// Brightness (about 0..1.2) of the wood at board-local position (u along, v across).
static double wood_grain(const Board& b, double u, double v) {
    double dv = v - b.axis;
    // Rings wander: large slow bends plus a finer wobble.
    dv += 14.0 * (fbm(u * 0.0035, v * 0.012, b.seed, 3) - 0.5);
    dv += 2.0 * (fbm(u * 0.02, v * 0.08, b.seed + 7, 2) - 0.5);
    double knot_shade = 0.0;
    if (b.has_knot) {
        // Rings swerve around a knot, and the knot itself shows its own tight dark rings.
        const double ku = (u - b.knot_u) / 1.6, kv = v - b.knot_v;
        const double e = std::sqrt(ku * ku + kv * kv);
        const double push = b.knot_size * 2.2 * std::exp(-e / (b.knot_size * 2.0));
        dv += (kv >= 0 ? push : -push);
        if (e < b.knot_size) {
            const double ring = std::fmod(e / 1.8, 1.0);
            knot_shade = (0.35 + 0.25 * ring) * smoothstep(b.knot_size, b.knot_size * 0.6, e);
        }
    }
    const double depth = b.depth0 + b.slope * u + 8.0 * fbm(u * 0.002, 3.7, b.seed + 3, 2);
    double r = std::sqrt(dv * dv + depth * depth);
    // Good and bad years: ring widths vary from one ring to the next.
    r += b.spacing * 1.6 * (value_noise(r / b.spacing * 0.45, 0.5, b.seed + 5) - 0.5);
    const double ring = std::fmod(r / b.spacing, 1.0);
    // Latewood darkens through the end of a ring and stops abruptly at the next one.
    const double late = smoothstep(0.55, 0.97, ring) * (1.0 - smoothstep(0.97, 1.0, ring));
    // Fine pores and fibres: streaks drawn out along the board.
    const double streak = fbm(u * 0.012, v * 0.6, b.seed + 11, 3) - 0.5;
    const double fibre = value_noise(u * 0.08, v * 1.7, b.seed + 13) - 0.5;
    const double pore = smoothstep(0.78, 0.95, value_noise(u * 0.15, v * 1.3, b.seed + 17));
    double shade = 1.0 - 0.34 * late - 0.35 * streak - 0.16 * fibre - 0.18 * pore * (0.4 + late);
    shade *= 1.0 - knot_shade;
    return shade;
}

// Darkening near a board's edges: the seam gap itself and a soft bevel beside it.
static double edge_shade(const Board& b, int x, int y) {
    const int top = y - b.y0, bottom = b.y1 - 1 - y;
    const int left = x - b.x0, right = b.x1 - 1 - x;
    double s = 1.0;
    if (top == 0 || left == 0) s *= 0.18;  // the gap between boards
    if (top == 1 || left == 1) s *= 0.65;
    if (top == 2 || left == 2) s *= 0.88;
    if (bottom == 0 || right == 0) s *= 1.12;  // the lit far edge of the bevel
    if (bottom == 1 || right == 1) s *= 0.92;
    return s;
}

Canvas make_wood() {
    const int w = 1024, h = 768;
    Canvas c(w, h);
    Rng rng = make_rng(20240611u);
    const std::vector<Board> boards = lay_boards(w, h, rng);
    const Rgb early{72, 45, 26};  // dark walnut, kept low so added light stands out
    for (const Board& b : boards) {
        for (int y = b.y0; y < b.y1; ++y) {
            for (int x = std::max(b.x0, 0); x < std::min(b.x1, w); ++x) {
                const double u = x - b.x0, v = y - b.y0;
                double shade = wood_grain(b, u, v) * b.tone * edge_shade(b, x, y);
                // Gentle light falloff towards the floor's edges.
                const double dx = (x - w / 2.0) / (w / 2.0), dy = (y - h / 2.0) / (h / 2.0);
                shade *= 1.0 - 0.22 * (dx * dx + dy * dy) / 2.0;
                // Per-pixel grain noise so large areas never look flat.
                shade *= 1.0 + 0.05 * (hash_unit(x, y, 77u) - 0.5);
                const Rgb col{early.r * (1.0 + b.warmth), early.g,
                              early.b * (1.0 - 1.5 * b.warmth)};
                c.at(x, y) = col * shade;
            }
        }
    }
    return c;
}
