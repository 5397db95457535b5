// make-assets: writes every media file lumora loads, plus the default settings, into a folder.
//
//   make-assets OUTDIR
//
// Everything is computed from fixed seeds, so two runs give byte-identical files and the
// committed media can always be regenerated. Pictures are composed in floating point
// (Canvas, Mask) and handed to Allegro only for text glyphs and for writing the files.

#include <allegro.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// ---------------------------------------------------------------------------------------------
// Deterministic randomness
// ---------------------------------------------------------------------------------------------

// Small xorshift generator; each picture owns one with its own seed so that changing one
// picture never shifts the random numbers of another.
class Rng {
  public:
    explicit Rng(uint32_t seed) : state_(seed ? seed : 0x9e3779b9u) {}
    uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    double uniform(double lo, double hi) { return lo + (hi - lo) * (next() >> 8) / 16777216.0; }
    int range(int lo, int hi) { return lo + static_cast<int>(next() % (hi - lo + 1)); }

  private:
    uint32_t state_;
};

// Stateless integer hash, so noise at a point does not depend on the order pixels are visited.
uint32_t hash2(int x, int y, uint32_t seed) {
    uint32_t h =
        seed ^ (static_cast<uint32_t>(x) * 0x27d4eb2du) ^ (static_cast<uint32_t>(y) * 0x165667b1u);
    h ^= h >> 15;
    h *= 0x85ebca6bu;
    h ^= h >> 13;
    h *= 0xc2b2ae35u;
    h ^= h >> 16;
    return h;
}

double hash_unit(int x, int y, uint32_t seed) { return (hash2(x, y, seed) >> 8) / 16777216.0; }

double smooth(double t) { return t * t * (3.0 - 2.0 * t); }

double smoothstep(double e0, double e1, double x) {
    return smooth(std::clamp((x - e0) / (e1 - e0), 0.0, 1.0));
}

// Value noise in [0,1): random values on an integer lattice, smoothly interpolated.
double value_noise(double x, double y, uint32_t seed) {
    const int ix = static_cast<int>(std::floor(x));
    const int iy = static_cast<int>(std::floor(y));
    const double fx = smooth(x - ix);
    const double fy = smooth(y - iy);
    const double a = hash_unit(ix, iy, seed), b = hash_unit(ix + 1, iy, seed);
    const double c = hash_unit(ix, iy + 1, seed), d = hash_unit(ix + 1, iy + 1, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

// Fractal noise: octaves of value noise, each twice as fine and half as strong. Result ~[0,1).
double fbm(double x, double y, uint32_t seed, int octaves) {
    double sum = 0.0, amp = 0.5, norm = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * value_noise(x, y, seed + 101u * i);
        norm += amp;
        x *= 2.03;
        y *= 2.03;
        amp *= 0.5;
    }
    return sum / norm;
}

// ---------------------------------------------------------------------------------------------
// Float pictures
// ---------------------------------------------------------------------------------------------

struct Rgb {
    double r, g, b;
};

Rgb operator*(const Rgb& c, double k) { return {c.r * k, c.g * k, c.b * k}; }
Rgb operator+(const Rgb& a, const Rgb& b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Rgb mix(const Rgb& a, const Rgb& b, double t) { return a * (1.0 - t) + b * t; }

// An RGB picture with channel values on the 0..255 scale (values beyond are clamped on save).
struct Canvas {
    int w, h;
    std::vector<Rgb> px;
    Canvas(int width, int height) : w(width), h(height), px(width * height, Rgb{0, 0, 0}) {}
    Rgb& at(int x, int y) { return px[y * w + x]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
};

// A coverage picture with values 0..1 (text, glow).
struct Mask {
    int w, h;
    std::vector<double> v;
    Mask(int width, int height) : w(width), h(height), v(width * height, 0.0) {}
    double& at(int x, int y) { return v[y * w + x]; }
    double get(int x, int y) const {
        return (x >= 0 && y >= 0 && x < w && y < h) ? v[y * w + x] : 0.0;
    }
};

// Adds light: how fireflies and glows combine, like the program's own additive drawing.
void add_light(Canvas& c, int x, int y, const Rgb& light) {
    if (c.inside(x, y)) c.at(x, y) = c.at(x, y) + light;
}

// Paints a mask onto the canvas in one colour, either covering (opaque paint, e.g. text)
// or adding (light, e.g. glow halos).
void paint_mask(Canvas& c, const Mask& m, int ox, int oy, const Rgb& colour, double strength,
                bool additive) {
    for (int y = 0; y < m.h; ++y) {
        for (int x = 0; x < m.w; ++x) {
            const double a = m.v[y * m.w + x] * strength;
            if (a <= 0.0 || !c.inside(ox + x, oy + y)) continue;
            Rgb& p = c.at(ox + x, oy + y);
            p = additive ? p + colour * a : mix(p, colour, std::min(a, 1.0));
        }
    }
}

// One horizontal and one vertical running-sum pass of a box filter.
void box_blur_once(Mask& m, int r) {
    std::vector<double> tmp(m.v.size());
    const double inv = 1.0 / (2 * r + 1);
    for (int y = 0; y < m.h; ++y) {
        double sum = 0.0;
        for (int x = -r; x <= r; ++x) sum += m.get(x, y);
        for (int x = 0; x < m.w; ++x) {
            tmp[y * m.w + x] = sum * inv;
            sum += m.get(x + r + 1, y) - m.get(x - r, y);
        }
    }
    m.v.swap(tmp);
    for (int x = 0; x < m.w; ++x) {
        double sum = 0.0;
        for (int y = -r; y <= r; ++y) sum += m.get(x, y);
        for (int y = 0; y < m.h; ++y) {
            tmp[y * m.w + x] = sum * inv;
            sum += m.get(x, y + r + 1) - m.get(x, y - r);
        }
    }
    m.v.swap(tmp);
}

// Three box passes approximate a Gaussian blur, which gives soft, round glow halos.
Mask blurred(Mask m, int radius) {
    for (int i = 0; i < 3; ++i) box_blur_once(m, radius);
    return m;
}

// Grows a mask by `pad` pixels on every side so its blur has room to spread.
Mask padded(const Mask& m, int pad) {
    Mask out(m.w + 2 * pad, m.h + 2 * pad);
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) out.at(x + pad, y + pad) = m.v[y * m.w + x];
    return out;
}

// ---------------------------------------------------------------------------------------------
// Writing files through Allegro
// ---------------------------------------------------------------------------------------------

int channel(double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); }

// Converts a canvas to a 24-bit Allegro bitmap. Pure magenta is Allegro's mask colour, which
// the program skips when drawing, so such a pixel is nudged to a neighbouring colour.
BITMAP* to_bitmap(const Canvas& c) {
    BITMAP* bmp = create_bitmap_ex(24, c.w, c.h);
    for (int y = 0; y < c.h; ++y) {
        for (int x = 0; x < c.w; ++x) {
            const Rgb& p = c.px[y * c.w + x];
            int r = channel(p.r), g = channel(p.g), b = channel(p.b);
            if (r >= 248 && g < 8 && b >= 248) g = 8;  // stays clear of magenta even at 16 bpp
            putpixel(bmp, x, y, makecol24(r, g, b));
        }
    }
    return bmp;
}

bool save_canvas(const Canvas& c, const std::string& path) {
    BITMAP* bmp = to_bitmap(c);
    const bool ok = save_bmp(path.c_str(), bmp, nullptr) == 0;
    destroy_bitmap(bmp);
    if (!ok) std::fprintf(stderr, "make-assets: cannot write %s\n", path.c_str());
    return ok;
}

// Renders text with Allegro's built-in 8x8 font into a mask, each font pixel becoming a
// scale x scale block (the font is tiny, titles need it larger).
Mask text_mask(const std::string& text, int scale) {
    const int tw = text_length(font, text.c_str()), th = text_height(font);
    BITMAP* small = create_bitmap_ex(8, tw, th);
    clear_to_color(small, 0);
    textout_ex(small, font, text.c_str(), 0, 0, 1, -1);
    Mask m(tw * scale, th * scale);
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) m.at(x, y) = getpixel(small, x / scale, y / scale) ? 1 : 0;
    destroy_bitmap(small);
    return m;
}

// Draws legible text: a one-pixel dark drop shadow keeps it readable over glowing dots.
void draw_text(Canvas& c, const std::string& text, int x, int y, int scale, const Rgb& colour) {
    const Mask m = text_mask(text, scale);
    paint_mask(c, m, x + scale / 2 + 1, y + scale / 2 + 1, Rgb{0, 0, 0}, 0.8, false);
    paint_mask(c, m, x, y, colour, 1.0, false);
}

// Text that glows: a blurred halo added as light under crisp letters.
void draw_glowing_text(Canvas& c, const std::string& text, int x, int y, int scale,
                       const Rgb& colour, const Rgb& halo) {
    const int pad = 16;
    const Mask glow = blurred(padded(text_mask(text, scale), pad), 4);
    paint_mask(c, glow, x - pad, y - pad, halo, 1.6, true);
    paint_mask(c, text_mask(text, scale), x, y, colour, 1.0, false);
}

// ---------------------------------------------------------------------------------------------
// wood.bmp: the dark wooden floor the fireflies fly over
// ---------------------------------------------------------------------------------------------

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

std::vector<Board> lay_boards(int w, int h, Rng& rng) {
    const int board_height = 96;  // eight rows of boards on a 768-high floor
    std::vector<Board> boards;
    for (int y0 = 0; y0 < h; y0 += board_height) {
        int x = -rng.range(0, 500);  // staggered joints, as in a laid floor
        while (x < w) {
            Board b{};
            b.x0 = x;
            b.x1 = x + rng.range(420, 820);
            b.y0 = y0;
            b.y1 = std::min(y0 + board_height, h);
            b.axis = rng.uniform(20.0, 76.0);
            b.depth0 = rng.uniform(10.0, 70.0);
            b.slope = rng.uniform(-0.09, 0.09);
            b.spacing = rng.uniform(3.6, 6.0);
            b.tone = rng.uniform(0.78, 1.08);
            b.warmth = rng.uniform(-0.08, 0.08);
            b.has_knot = rng.uniform(0.0, 1.0) < 0.3;
            b.knot_u = rng.uniform(60.0, b.x1 - b.x0 - 60.0);
            b.knot_v = rng.uniform(22.0, 74.0);
            b.knot_size = rng.uniform(6.0, 11.0);
            b.seed = rng.next();
            boards.push_back(b);
            x = b.x1;
        }
    }
    return boards;
}

// Brightness (about 0..1.2) of the wood at board-local position (u along, v across).
double wood_grain(const Board& b, double u, double v) {
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
double edge_shade(const Board& b, int x, int y) {
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
    Rng rng(20240611u);
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

// ---------------------------------------------------------------------------------------------
// title.bmp: the start screen
// ---------------------------------------------------------------------------------------------

// The nine swarm colours, shared by the title's decorative fireflies and the default settings.
const Rgb kSwarmColours[9] = {
    {255, 40, 40}, {255, 140, 20}, {255, 230, 40}, {60, 255, 60},   {40, 230, 255},
    {60, 90, 255}, {170, 60, 255}, {255, 80, 190}, {230, 230, 255},
};

// A firefly as seen on screen: a bright core inside a wide, faint halo.
void draw_firefly(Canvas& c, double cx, double cy, const Rgb& colour, double core, double halo,
                  double brightness) {
    const int reach = static_cast<int>(halo * 5.0) + 2;
    for (int y = static_cast<int>(cy) - reach; y <= static_cast<int>(cy) + reach; ++y) {
        for (int x = static_cast<int>(cx) - reach; x <= static_cast<int>(cx) + reach; ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            const double k = std::exp(-(d * d) / (core * core)) + 0.28 * std::exp(-d / halo);
            const Rgb hot = mix(colour, Rgb{255, 255, 255}, 0.6 * std::exp(-d / core));
            add_light(c, x, y, hot * (k * brightness));
        }
    }
}

// The word "lumora" as strokes (line pieces) in a letter space where the baseline is y = 0,
// lowercase letters are 1 high and ascenders 1.55.
struct Stroke {
    double x0, y0, x1, y1;
};

void add_arc(std::vector<Stroke>& s, double cx, double cy, double rx, double ry, double a0,
             double a1) {
    const int n = 32;
    for (int i = 0; i < n; ++i) {
        const double t0 = a0 + (a1 - a0) * i / n, t1 = a0 + (a1 - a0) * (i + 1) / n;
        s.push_back({cx + rx * std::cos(t0), cy - ry * std::sin(t0), cx + rx * std::cos(t1),
                     cy - ry * std::sin(t1)});
    }
}

std::vector<Stroke> lumora_strokes(double* width) {
    std::vector<Stroke> s;
    const double gap = 0.42;
    double x = 0.0;
    // l
    s.push_back({x, -1.55, x, 0.0});
    x += gap;
    // u: two stems joined by a round bottom, right stem reaching the baseline
    s.push_back({x, -1.0, x, -0.42});
    add_arc(s, x + 0.38, -0.42, 0.38, 0.42, kPi, 2.0 * kPi);
    s.push_back({x + 0.76, -1.0, x + 0.76, 0.0});
    x += 0.76 + gap;
    // m: a stem and two arches
    s.push_back({x, -1.0, x, 0.0});
    add_arc(s, x + 0.33, -0.62, 0.33, 0.38, kPi, 0.0);
    s.push_back({x + 0.66, -0.62, x + 0.66, 0.0});
    add_arc(s, x + 0.99, -0.62, 0.33, 0.38, kPi, 0.0);
    s.push_back({x + 1.32, -0.62, x + 1.32, 0.0});
    x += 1.32 + gap;
    // o
    add_arc(s, x + 0.45, -0.5, 0.45, 0.5, 0.0, 2.0 * kPi);
    x += 0.9 + gap;
    // r: a stem with a shoulder
    s.push_back({x, -1.0, x, 0.0});
    add_arc(s, x + 0.4, -0.55, 0.4, 0.45, kPi, kPi * 0.22);
    x += 0.72 + gap * 0.8;
    // a: a bowl and a stem on its right
    add_arc(s, x + 0.43, -0.5, 0.43, 0.5, 0.0, 2.0 * kPi);
    s.push_back({x + 0.86, -1.0, x + 0.86, 0.0});
    x += 0.86;
    *width = x;
    return s;
}

double segment_distance(double px, double py, const Stroke& s) {
    const double dx = s.x1 - s.x0, dy = s.y1 - s.y0;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - s.x0) * dx + (py - s.y0) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (s.x0 + t * dx), py - (s.y0 + t * dy));
}

// The name in large neon-like letters: a white-hot core, a coloured rim and a wide halo.
// The colour runs from firefly gold through green to aqua across the word.
void draw_name(Canvas& c, int centre_x, int baseline, double unit) {
    double width = 0.0;
    const std::vector<Stroke> strokes = lumora_strokes(&width);
    const double left = centre_x - width * unit / 2.0;
    const double half_stroke = 0.085 * unit;
    const int margin = 90;
    const int x_lo = static_cast<int>(left) - margin;
    const int x_hi = static_cast<int>(left + width * unit) + margin;
    const int y_lo = static_cast<int>(baseline - 1.55 * unit) - margin, y_hi = baseline + margin;
    const Rgb gold{255, 200, 60}, green{130, 255, 90}, aqua{70, 230, 255};
    for (int y = y_lo; y <= y_hi; ++y) {
        for (int x = x_lo; x <= x_hi; ++x) {
            const double lx = (x + 0.5 - left) / unit, ly = (y + 0.5 - baseline) / unit;
            double d = 1e9;
            for (const Stroke& s : strokes) d = std::min(d, segment_distance(lx, ly, s));
            d *= unit;  // back to pixels
            const double t = std::clamp((x - x_lo) / double(x_hi - x_lo), 0.0, 1.0);
            const Rgb hue = t < 0.5 ? mix(gold, green, t * 2.0) : mix(green, aqua, t * 2.0 - 1.0);
            const double body = smoothstep(half_stroke + 1.0, half_stroke - 1.0, d);
            const double core = smoothstep(half_stroke * 0.55, 0.0, d);
            const double glow = 0.55 * std::exp(-std::max(d - half_stroke, 0.0) / 9.0) +
                                0.22 * std::exp(-std::max(d - half_stroke, 0.0) / 38.0);
            Rgb light = hue * (glow * (1.0 - body));
            light = light + mix(hue, Rgb{255, 255, 240}, 0.45 + 0.55 * core) * body;
            add_light(c, x, y, light);
        }
    }
}

// A rounded, dark, softly edged panel that keeps the controls legible over the background.
void draw_panel(Canvas& c, int x0, int y0, int x1, int y1, double radius) {
    const Rgb fill{4, 6, 12}, rim{70, 110, 80};
    const double cx = (x0 + x1) / 2.0, cy = (y0 + y1) / 2.0;
    const double half_w = (x1 - x0) / 2.0 - radius, half_h = (y1 - y0) / 2.0 - radius;
    for (int y = y0 - 4; y <= y1 + 4; ++y) {
        for (int x = x0 - 4; x <= x1 + 4; ++x) {
            if (!c.inside(x, y)) continue;
            // Signed distance to the rounded rectangle (negative inside).
            const double ax = std::abs(x + 0.5 - cx) - half_w, ay = std::abs(y + 0.5 - cy) - half_h;
            const double sd = std::hypot(std::max(ax, 0.0), std::max(ay, 0.0)) +
                              std::min(std::max(ax, ay), 0.0) - radius;
            const double cover = smoothstep(0.5, -0.5, sd);
            c.at(x, y) = mix(c.at(x, y), fill, 0.82 * cover);
            const double line = smoothstep(1.2, 0.0, std::abs(sd + 1.0));
            c.at(x, y) = c.at(x, y) + rim * line;
        }
    }
}

Canvas make_title() {
    const int w = 1024, h = 768;
    Canvas c(w, h);
    // Night sky: deep blue at the top fading to black, with a faint green haze behind the name.
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double t = y / double(h);
            Rgb sky = mix(Rgb{10, 14, 32}, Rgb{2, 3, 7}, t);
            const double dx = (x - 512) / 420.0, dy = (y - 170) / 150.0;
            sky = sky + Rgb{6, 16, 10} * std::exp(-(dx * dx + dy * dy));
            c.at(x, y) = sky;
        }
    }

    // Panel geometry first: decorative fireflies keep out of it so the text stays readable.
    const int px0 = 112, px1 = 912, py0 = 318, py1 = 686;
    Rng rng(7031u);
    auto in_panel = [&](double x, double y) {
        return x > px0 - 14 && x < px1 + 14 && y > py0 - 14 && y < py1 + 14;
    };
    // Scattered fireflies.
    for (int i = 0; i < 150; ++i) {
        const double x = rng.uniform(0, w), y = rng.uniform(0, h);
        const Rgb col = kSwarmColours[rng.range(0, 8)];
        const double core = rng.uniform(0.9, 2.2), halo = rng.uniform(4.0, 12.0);
        const double bright = rng.uniform(0.25, 0.9);
        if (in_panel(x, y)) continue;
        draw_firefly(c, x, y, col, core, halo, bright);
    }
    // A few light trails: fireflies in flight leave fading dots along curving paths.
    for (int t = 0; t < 7; ++t) {
        const Rgb col = kSwarmColours[rng.range(0, 8)];
        double x = rng.uniform(0, w), y = rng.uniform(0, h);
        double heading = rng.uniform(0, 2.0 * kPi);
        const double turn = rng.uniform(-0.09, 0.09);
        const int n = rng.range(25, 45);
        for (int k = 0; k < n; ++k) {
            x += 6.0 * std::cos(heading);
            y += 6.0 * std::sin(heading);
            heading += turn;
            if (in_panel(x, y)) continue;
            const double fade = (k + 1) / double(n);
            draw_firefly(c, x, y, col, 0.8 + 0.8 * fade, 3.0 + 5.0 * fade,
                         0.15 + 0.7 * fade * fade);
        }
    }

    draw_name(c, w / 2, 232, 112.0);
    const std::string tagline = "nine swarms of fireflies";
    draw_text(c, tagline, (w - 16 * static_cast<int>(tagline.size())) / 2, 268, 2,
              Rgb{170, 200, 180});

    // Controls: key names in firefly gold, what they do in soft white.
    draw_panel(c, px0, py0, px1, py1, 14.0);
    const std::string heading = "CONTROLS";
    draw_text(c, heading, (w - 16 * static_cast<int>(heading.size())) / 2, py0 + 20, 2,
              Rgb{140, 230, 150});
    struct Line {
        const char* keys;
        const char* action;
    };
    const Line lines[] = {
        {"SPACE", "start"},
        {"ENTER", "settings panel"},
        {"ARROWS or KEYPAD 2/4/6/8", "edit a setting"},
        {"PGUP / PGDN", "choose swarm"},
        {"S / L", "save / load settings"},
        {"P", "pause"},
        {"D", "glow detail"},
        {"hold SPACE", "light trails"},
        {"LEFT MOUSE BUTTON", "apply tool"},
        {"RIGHT MOUSE BUTTON", "next tool"},
        {"ESC", "quit"},
    };
    int y = py0 + 58;
    for (const Line& l : lines) {
        draw_text(c, l.keys, px0 + 40, y, 2, Rgb{255, 214, 110});
        draw_text(c, l.action, px0 + 40 + 16 * 26, y, 2, Rgb{220, 228, 236});
        y += 27;
    }

    const std::string prompt = "press SPACE to start";
    draw_glowing_text(c, prompt, (w - 24 * static_cast<int>(prompt.size())) / 2, 716, 3,
                      Rgb{255, 236, 150}, Rgb{150, 120, 20});
    return c;
}

// ---------------------------------------------------------------------------------------------
// shine.bmp: the glow stamped around every firefly
// ---------------------------------------------------------------------------------------------

// The program reads weight = trunc(red / 25) from the top-left 10x10 pixels, centred between
// pixels 4 and 5. A Gaussian scaled past 255 gives the four middle pixels full weight 10 and
// fades to weight 0 in the corners. Green and blue repeat red so the file looks like a glow.
Canvas make_shine() {
    Canvas c(10, 10);
    const double sigma = 2.2;
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const double dx = x - 4.5, dy = y - 4.5;
            const double v =
                std::min(255.0, 275.0 * std::exp(-(dx * dx + dy * dy) / (2 * sigma * sigma)));
            c.at(x, y) = Rgb{v, v, v};
        }
    }
    return c;
}

// ---------------------------------------------------------------------------------------------
// Mouse cursors: 13x13, black is transparent, anything else is drawn white, (6,6) on the mouse
// ---------------------------------------------------------------------------------------------

using Art = const char* [13];

// Lure: a sparkle with a hollow middle. The program draws the lured swarm's coloured dots at
// (+-1,0), (0,+-1) and (+-3,+-3) around the hot spot, so those places stay black.
const Art kLureArt = {
    "......X......",  //
    "......X......",  //
    "..X...X...X..",  //
    "......X......",  //
    "....X.X.X....",  //
    ".............",  //
    "XXXXX...XXXXX",  //
    ".............",  //
    "....X.X.X....",  //
    "......X......",  //
    "..X...X...X..",  //
    "......X......",  //
    "......X......",  //
};

// Repel ("hill"): four arrows pointing away from the mouse.
const Art kHillArt = {
    "......X......",  //
    ".....XXX.....",  //
    "....X.X.X....",  //
    "......X......",  //
    "..X...X...X..",  //
    ".X.........X.",  //
    "XXXXX.X.XXXXX",  //
    ".X.........X.",  //
    "..X...X...X..",  //
    "......X......",  //
    "....X.X.X....",  //
    ".....XXX.....",  //
    "......X......",  //
};

// Attract ("hole"): four arrows pointing in at the mouse.
const Art kHoleArt = {
    "......X......",  //
    "......X......",  //
    "....X.X.X....",  //
    ".....XXX.....",  //
    "..X...X...X..",  //
    "...X.....X...",  //
    "XXXXX.X.XXXXX",  //
    "...X.....X...",  //
    "..X...X...X..",  //
    ".....XXX.....",  //
    "....X.X.X....",  //
    "......X......",  //
    "......X......",  //
};

// Clockwise swirl: a ring whose arrowhead at the top points right (screen y grows downwards,
// so moving right along the top is clockwise). The counter-clockwise cursor is its mirror.
const Art kSwirlClockwiseArt = {
    "......X......",  //
    "......XX.....",  //
    "....XXXXX....",  //
    "...X..XX.....",  //
    "..X...X......",  //
    "..X.......X..",  //
    "..X.......X..",  //
    "..X.......X..",  //
    "..X.......X..",  //
    "...X.....X...",  //
    "....XXXXX....",  //
    ".............",  //
    ".............",  //
};

Canvas make_cursor(const Art& art, bool mirrored) {
    Canvas c(13, 13);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x)
            if (art[y][mirrored ? 12 - x : x] == 'X') c.at(x, y) = Rgb{255, 255, 255};
    return c;
}

// ---------------------------------------------------------------------------------------------
// myfont.pcx: the panel font
// ---------------------------------------------------------------------------------------------

// Glyphs for characters 32..126: 5 pixels wide, 9 high. Capitals and digits occupy rows 0-6
// (the baseline is under row 6) and descenders rows 7-8, so lines 10 pixels apart never touch.
constexpr int kGlyphRows = 9;
struct Glyph {
    char ch;
    const char* rows[kGlyphRows];
};

// clang-format off
const Glyph kGlyphs[] = {
    {' ', {".....", ".....", ".....", ".....", ".....", ".....", ".....", ".....", "....."}},
    {'!', {"..X..", "..X..", "..X..", "..X..", "..X..", ".....", "..X..", ".....", "....."}},
    {'"', {".X.X.", ".X.X.", ".X.X.", ".....", ".....", ".....", ".....", ".....", "....."}},
    {'#', {".X.X.", ".X.X.", "XXXXX", ".X.X.", "XXXXX", ".X.X.", ".X.X.", ".....", "....."}},
    {'$', {"..X..", ".XXXX", "X.X..", ".XXX.", "..X.X", "XXXX.", "..X..", ".....", "....."}},
    {'%', {"XX...", "XX..X", "...X.", "..X..", ".X...", "X..XX", "...XX", ".....", "....."}},
    {'&', {".XX..", "X..X.", "X.X..", ".X...", "X.X.X", "X..X.", ".XX.X", ".....", "....."}},
    {'\'', {"..X..", "..X..", ".X...", ".....", ".....", ".....", ".....", ".....", "....."}},
    {'(', {"...X.", "..X..", ".X...", ".X...", ".X...", "..X..", "...X.", ".....", "....."}},
    {')', {".X...", "..X..", "...X.", "...X.", "...X.", "..X..", ".X...", ".....", "....."}},
    {'*', {".....", "..X..", "X.X.X", ".XXX.", "X.X.X", "..X..", ".....", ".....", "....."}},
    {'+', {".....", "..X..", "..X..", "XXXXX", "..X..", "..X..", ".....", ".....", "....."}},
    {',', {".....", ".....", ".....", ".....", ".....", ".XX..", "..X..", ".X...", "....."}},
    {'-', {".....", ".....", ".....", "XXXXX", ".....", ".....", ".....", ".....", "....."}},
    {'.', {".....", ".....", ".....", ".....", ".....", ".XX..", ".XX..", ".....", "....."}},
    {'/', {"....X", "...X.", "...X.", "..X..", ".X...", ".X...", "X....", ".....", "....."}},
    {'0', {".XXX.", "X...X", "X..XX", "X.X.X", "XX..X", "X...X", ".XXX.", ".....", "....."}},
    {'1', {"..X..", ".XX..", "..X..", "..X..", "..X..", "..X..", ".XXX.", ".....", "....."}},
    {'2', {".XXX.", "X...X", "....X", "...X.", "..X..", ".X...", "XXXXX", ".....", "....."}},
    {'3', {"XXXXX", "...X.", "..X..", "...X.", "....X", "X...X", ".XXX.", ".....", "....."}},
    {'4', {"...X.", "..XX.", ".X.X.", "X..X.", "XXXXX", "...X.", "...X.", ".....", "....."}},
    {'5', {"XXXXX", "X....", "XXXX.", "....X", "....X", "X...X", ".XXX.", ".....", "....."}},
    {'6', {"..XX.", ".X...", "X....", "XXXX.", "X...X", "X...X", ".XXX.", ".....", "....."}},
    {'7', {"XXXXX", "....X", "...X.", "..X..", ".X...", ".X...", ".X...", ".....", "....."}},
    {'8', {".XXX.", "X...X", "X...X", ".XXX.", "X...X", "X...X", ".XXX.", ".....", "....."}},
    {'9', {".XXX.", "X...X", "X...X", ".XXXX", "....X", "...X.", ".XX..", ".....", "....."}},
    {':', {".....", ".XX..", ".XX..", ".....", ".XX..", ".XX..", ".....", ".....", "....."}},
    {';', {".....", ".XX..", ".XX..", ".....", ".XX..", "..X..", ".X...", ".....", "....."}},
    {'<', {"...X.", "..X..", ".X...", "X....", ".X...", "..X..", "...X.", ".....", "....."}},
    {'=', {".....", ".....", "XXXXX", ".....", "XXXXX", ".....", ".....", ".....", "....."}},
    {'>', {".X...", "..X..", "...X.", "....X", "...X.", "..X..", ".X...", ".....", "....."}},
    {'?', {".XXX.", "X...X", "....X", "...X.", "..X..", ".....", "..X..", ".....", "....."}},
    {'@', {".XXX.", "X...X", "X.XXX", "X.X.X", "X.XXX", "X....", ".XXXX", ".....", "....."}},
    {'A', {".XXX.", "X...X", "X...X", "XXXXX", "X...X", "X...X", "X...X", ".....", "....."}},
    {'B', {"XXXX.", "X...X", "X...X", "XXXX.", "X...X", "X...X", "XXXX.", ".....", "....."}},
    {'C', {".XXX.", "X...X", "X....", "X....", "X....", "X...X", ".XXX.", ".....", "....."}},
    {'D', {"XXXX.", "X...X", "X...X", "X...X", "X...X", "X...X", "XXXX.", ".....", "....."}},
    {'E', {"XXXXX", "X....", "X....", "XXXX.", "X....", "X....", "XXXXX", ".....", "....."}},
    {'F', {"XXXXX", "X....", "X....", "XXXX.", "X....", "X....", "X....", ".....", "....."}},
    {'G', {".XXX.", "X...X", "X....", "X.XXX", "X...X", "X...X", ".XXXX", ".....", "....."}},
    {'H', {"X...X", "X...X", "X...X", "XXXXX", "X...X", "X...X", "X...X", ".....", "....."}},
    {'I', {".XXX.", "..X..", "..X..", "..X..", "..X..", "..X..", ".XXX.", ".....", "....."}},
    {'J', {"..XXX", "...X.", "...X.", "...X.", "...X.", "X..X.", ".XX..", ".....", "....."}},
    {'K', {"X...X", "X..X.", "X.X..", "XX...", "X.X..", "X..X.", "X...X", ".....", "....."}},
    {'L', {"X....", "X....", "X....", "X....", "X....", "X....", "XXXXX", ".....", "....."}},
    {'M', {"X...X", "XX.XX", "X.X.X", "X.X.X", "X...X", "X...X", "X...X", ".....", "....."}},
    {'N', {"X...X", "X...X", "XX..X", "X.X.X", "X..XX", "X...X", "X...X", ".....", "....."}},
    {'O', {".XXX.", "X...X", "X...X", "X...X", "X...X", "X...X", ".XXX.", ".....", "....."}},
    {'P', {"XXXX.", "X...X", "X...X", "XXXX.", "X....", "X....", "X....", ".....", "....."}},
    {'Q', {".XXX.", "X...X", "X...X", "X...X", "X.X.X", "X..X.", ".XX.X", ".....", "....."}},
    {'R', {"XXXX.", "X...X", "X...X", "XXXX.", "X.X..", "X..X.", "X...X", ".....", "....."}},
    {'S', {".XXXX", "X....", "X....", ".XXX.", "....X", "....X", "XXXX.", ".....", "....."}},
    {'T', {"XXXXX", "..X..", "..X..", "..X..", "..X..", "..X..", "..X..", ".....", "....."}},
    {'U', {"X...X", "X...X", "X...X", "X...X", "X...X", "X...X", ".XXX.", ".....", "....."}},
    {'V', {"X...X", "X...X", "X...X", "X...X", "X...X", ".X.X.", "..X..", ".....", "....."}},
    {'W', {"X...X", "X...X", "X...X", "X.X.X", "X.X.X", "X.X.X", ".X.X.", ".....", "....."}},
    {'X', {"X...X", "X...X", ".X.X.", "..X..", ".X.X.", "X...X", "X...X", ".....", "....."}},
    {'Y', {"X...X", "X...X", ".X.X.", "..X..", "..X..", "..X..", "..X..", ".....", "....."}},
    {'Z', {"XXXXX", "....X", "...X.", "..X..", ".X...", "X....", "XXXXX", ".....", "....."}},
    {'[', {".XXX.", ".X...", ".X...", ".X...", ".X...", ".X...", ".XXX.", ".....", "....."}},
    {'\\', {"X....", ".X...", ".X...", "..X..", "...X.", "...X.", "....X", ".....", "....."}},
    {']', {".XXX.", "...X.", "...X.", "...X.", "...X.", "...X.", ".XXX.", ".....", "....."}},
    {'^', {"..X..", ".X.X.", "X...X", ".....", ".....", ".....", ".....", ".....", "....."}},
    {'_', {".....", ".....", ".....", ".....", ".....", ".....", ".....", "XXXXX", "....."}},
    {'`', {".X...", "..X..", ".....", ".....", ".....", ".....", ".....", ".....", "....."}},
    {'a', {".....", ".....", ".XXX.", "....X", ".XXXX", "X...X", ".XXXX", ".....", "....."}},
    {'b', {"X....", "X....", "X.XX.", "XX..X", "X...X", "X...X", "XXXX.", ".....", "....."}},
    {'c', {".....", ".....", ".XXX.", "X....", "X....", "X...X", ".XXX.", ".....", "....."}},
    {'d', {"....X", "....X", ".XX.X", "X..XX", "X...X", "X...X", ".XXXX", ".....", "....."}},
    {'e', {".....", ".....", ".XXX.", "X...X", "XXXXX", "X....", ".XXX.", ".....", "....."}},
    {'f', {"..XX.", ".X..X", ".X...", "XXX..", ".X...", ".X...", ".X...", ".....", "....."}},
    {'g', {".....", ".....", ".XXXX", "X...X", "X...X", "X...X", ".XXXX", "....X", ".XXX."}},
    {'h', {"X....", "X....", "X.XX.", "XX..X", "X...X", "X...X", "X...X", ".....", "....."}},
    {'i', {"..X..", ".....", ".XX..", "..X..", "..X..", "..X..", ".XXX.", ".....", "....."}},
    {'j', {"...X.", ".....", "..XX.", "...X.", "...X.", "...X.", "...X.", "X..X.", ".XX.."}},
    {'k', {"X....", "X....", "X..X.", "X.X..", "XX...", "X.X..", "X..X.", ".....", "....."}},
    {'l', {".XX..", "..X..", "..X..", "..X..", "..X..", "..X..", ".XXX.", ".....", "....."}},
    {'m', {".....", ".....", "XX.X.", "X.X.X", "X.X.X", "X.X.X", "X.X.X", ".....", "....."}},
    {'n', {".....", ".....", "X.XX.", "XX..X", "X...X", "X...X", "X...X", ".....", "....."}},
    {'o', {".....", ".....", ".XXX.", "X...X", "X...X", "X...X", ".XXX.", ".....", "....."}},
    {'p', {".....", ".....", "XXXX.", "X...X", "X...X", "X...X", "XXXX.", "X....", "X...."}},
    {'q', {".....", ".....", ".XXXX", "X...X", "X...X", "X...X", ".XXXX", "....X", "....X"}},
    {'r', {".....", ".....", "X.XX.", "XX..X", "X....", "X....", "X....", ".....", "....."}},
    {'s', {".....", ".....", ".XXXX", "X....", ".XXX.", "....X", "XXXX.", ".....", "....."}},
    {'t', {".X...", ".X...", "XXX..", ".X...", ".X...", ".X..X", "..XX.", ".....", "....."}},
    {'u', {".....", ".....", "X...X", "X...X", "X...X", "X..XX", ".XX.X", ".....", "....."}},
    {'v', {".....", ".....", "X...X", "X...X", "X...X", ".X.X.", "..X..", ".....", "....."}},
    {'w', {".....", ".....", "X...X", "X...X", "X.X.X", "X.X.X", ".X.X.", ".....", "....."}},
    {'x', {".....", ".....", "X...X", ".X.X.", "..X..", ".X.X.", "X...X", ".....", "....."}},
    {'y', {".....", ".....", "X...X", "X...X", "X...X", "X...X", ".XXXX", "....X", ".XXX."}},
    {'z', {".....", ".....", "XXXXX", "...X.", "..X..", ".X...", "XXXXX", ".....", "....."}},
    {'{', {"...XX", "..X..", "..X..", ".X...", "..X..", "..X..", "...XX", ".....", "....."}},
    {'|', {"..X..", "..X..", "..X..", "..X..", "..X..", "..X..", "..X..", "..X..", "....."}},
    {'}', {"XX...", "..X..", "..X..", "...X.", "..X..", "..X..", "XX...", ".....", "....."}},
    {'~', {".....", ".....", ".X...", "X.X.X", "...X.", ".....", ".....", ".....", "....."}},
};
// clang-format on

// Writes the font as Allegro's grabber reads it from an 8-bit picture: every glyph sits in a
// cell framed by palette index 255 (the frame colour for 8-bit pictures; pixel (0,0) is frame
// too), cells follow each other left to right and top to bottom, and the first cell is
// character 32. Only index 0 (paper) and one ink index appear inside the cells, which is what
// makes Allegro treat the font as one-colour, so text is drawn in the colour the caller asks.
bool write_font(const std::string& path) {
    const int count = sizeof(kGlyphs) / sizeof(kGlyphs[0]);
    for (int i = 0; i < count; ++i) {
        if (kGlyphs[i].ch != 32 + i) {
            std::fprintf(stderr, "make-assets: glyph table out of order at %d\n", i);
            return false;
        }
    }
    const int cell_w = 6, cell_h = kGlyphRows;  // 5 pixels of ink plus 1 of letter spacing
    const int per_row = 16;
    // The grid is always filled: the grabber would take a half-framed empty slot for a glyph.
    const int rows = (count + per_row - 1) / per_row;
    const int cells = rows * per_row;
    const int frame = 255, paper = 0, ink = 1;
    BITMAP* bmp = create_bitmap_ex(8, per_row * (cell_w + 1) + 1, rows * (cell_h + 1) + 1);
    clear_to_color(bmp, paper);
    for (int i = 0; i < cells; ++i) {
        const int x0 = (i % per_row) * (cell_w + 1), y0 = (i / per_row) * (cell_h + 1);
        rect(bmp, x0, y0, x0 + cell_w + 1, y0 + cell_h + 1, frame);
        if (i >= count) continue;  // character 127 stays blank
        for (int y = 0; y < cell_h; ++y)
            for (int x = 0; x < 5; ++x)
                if (kGlyphs[i].rows[y][x] == 'X') putpixel(bmp, x0 + 1 + x, y0 + 1 + y, ink);
    }
    PALETTE pal;
    for (int i = 0; i < PAL_SIZE; ++i) pal[i] = RGB{0, 0, 0, 0};
    pal[ink] = RGB{63, 63, 63, 0};   // white ink (6-bit palette entries)
    pal[frame] = RGB{63, 63, 0, 0};  // yellow frame, as the grabber draws it
    const bool ok = save_pcx(path.c_str(), bmp, pal) == 0;
    destroy_bitmap(bmp);
    if (!ok) std::fprintf(stderr, "make-assets: cannot write %s\n", path.c_str());
    return ok;
}

// ---------------------------------------------------------------------------------------------
// lmr.sav: the default swarm settings
// ---------------------------------------------------------------------------------------------

// One line of the settings file per field; a record has 20 fields, most of them unused.
enum Field {
    kHighestSpeed = 1,  // px/frame
    kLowestSpeed = 2,   // px/frame
    kTurningSpeed = 3,  // degrees/frame
    kFieldOfView = 4,   // half-angle, degrees
    kAcceleration = 5,  // tenths of px/frame
    kBraking = 6,       // tenths of px/frame
    kRed = 7,
    kGreen = 8,
    kBlue = 9,
    kPopulation = 10,
    kTargetSwarm = 11,    // the swarm this one chases (1..9, may be itself)
    kCommunication = 12,  // tenths of a pixel
    kFieldsPerRecord = 20,
};

struct SwarmDefaults {
    int highest, lowest, turning, view, accel, brake, red, green, blue, population, target, comm;
};

// Starting values for swarms 1..9. Swarms 1-4 chase each other in a ring, 5 and 6 chase each
// other, 7-9 keep to themselves. Populations add up to 1800 of the program's 2000 fireflies.
// clang-format off
const SwarmDefaults kSwarms[9] = {
    //  high low turn view acc brk   red  green blue   pop  target comm
    {   5,   1,   6,  60,  2,  2,   255,   40,   40,  200,  2,    1800},  // 1 red
    {   4,   1,   8,  70,  2,  1,   255,  140,   20,  200,  3,    2000},  // 2 orange
    {   5,   2,   5,  50,  1,  2,   255,  230,   40,  200,  4,    1600},  // 3 yellow
    {   6,   2,   4,  45,  3,  2,    60,  255,   60,  200,  1,    2200},  // 4 green
    {   4,   1,   9,  80,  2,  3,    40,  230,  255,  200,  6,    2500},  // 5 cyan
    {   5,   1,   7,  60,  2,  2,    60,   90,  255,  200,  5,    2400},  // 6 blue
    {   3,   1,  10,  90,  1,  1,   170,   60,  255,  200,  7,    1500},  // 7 violet
    {   4,   2,   6,  75,  2,  2,   255,   80,  190,  200,  8,    1200},  // 8 pink
    {   3,   1,   5,  40,  1,  3,   230,  230,  255,  200,  9,    1000},  // 9 white
};
// clang-format on

bool write_settings(const std::string& path) {
    std::vector<int> values(10 * kFieldsPerRecord, 0);
    // Record 0 is no swarm; it only carries a dim grey.
    values[kRed] = values[kGreen] = values[kBlue] = 40;
    for (int s = 1; s <= 9; ++s) {
        const SwarmDefaults& d = kSwarms[s - 1];
        int* r = &values[s * kFieldsPerRecord];
        r[kHighestSpeed] = d.highest;
        r[kLowestSpeed] = d.lowest;
        r[kTurningSpeed] = d.turning;
        r[kFieldOfView] = d.view;
        r[kAcceleration] = d.accel;
        r[kBraking] = d.brake;
        r[kRed] = d.red;
        r[kGreen] = d.green;
        r[kBlue] = d.blue;
        r[kPopulation] = d.population;
        r[kTargetSwarm] = d.target;
        r[kCommunication] = d.comm;
    }
    FILE* f = std::fopen(path.c_str(), "wb");  // binary: "\n" line ends on every system
    if (!f) {
        std::fprintf(stderr, "make-assets: cannot write %s\n", path.c_str());
        return false;
    }
    for (int v : values) std::fprintf(f, "%d\n", v);
    return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-assets OUTDIR\n");
        return 2;
    }
    // No display is needed: memory bitmaps, text and file writers work without one.
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "make-assets: cannot start Allegro\n");
        return 1;
    }
    set_color_depth(24);
    const std::string dir = std::string(argv[1]) + "/";
    bool ok = true;
    ok &= save_canvas(make_wood(), dir + "wood.bmp");
    ok &= save_canvas(make_title(), dir + "title.bmp");
    ok &= write_font(dir + "myfont.pcx");
    ok &= save_canvas(make_shine(), dir + "shine.bmp");
    ok &= save_canvas(make_cursor(kLureArt, false), dir + "c_att.bmp");
    ok &= save_canvas(make_cursor(kHillArt, false), dir + "c_hill.bmp");
    ok &= save_canvas(make_cursor(kHoleArt, false), dir + "c_hole.bmp");
    ok &= save_canvas(make_cursor(kSwirlClockwiseArt, false), dir + "c_tr.bmp");
    ok &= save_canvas(make_cursor(kSwirlClockwiseArt, true), dir + "c_tl.bmp");
    ok &= write_settings(dir + "lmr.sav");
    return ok ? 0 : 1;
}
END_OF_MAIN()
