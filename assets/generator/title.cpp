// title.bmp: the start screen. A night sky with scattered fireflies and light trails, the
// name in glowing letters, and a dark panel listing the controls.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "assets/generator/drawing.h"
#include "assets/generator/media.h"

// A firefly as seen on screen: a bright core inside a wide, faint halo.
static void draw_firefly(Canvas& c, double cx, double cy, const Rgb& colour, double core,
                         double halo, double brightness) {
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

static void add_arc(std::vector<Stroke>& s, double cx, double cy, double rx, double ry, double a0,
                    double a1) {
    const int n = 32;
    for (int i = 0; i < n; ++i) {
        const double t0 = a0 + (a1 - a0) * i / n, t1 = a0 + (a1 - a0) * (i + 1) / n;
        s.push_back({cx + rx * std::cos(t0), cy - ry * std::sin(t0), cx + rx * std::cos(t1),
                     cy - ry * std::sin(t1)});
    }
}

static std::vector<Stroke> lumora_strokes(double* width) {
    std::vector<Stroke> s;
    const double gap = 0.42;
    double x = 0.0;
    // l
    s.push_back({x, -1.55, x, 0.0});
    x += gap;
    // u: two stems joined by a round bottom, right stem reaching the baseline
    s.push_back({x, -1.0, x, -0.42});
    add_arc(s, x + 0.38, -0.42, 0.38, 0.42, PI, 2.0 * PI);
    s.push_back({x + 0.76, -1.0, x + 0.76, 0.0});
    x += 0.76 + gap;
    // m: a stem and two arches
    s.push_back({x, -1.0, x, 0.0});
    add_arc(s, x + 0.33, -0.62, 0.33, 0.38, PI, 0.0);
    s.push_back({x + 0.66, -0.62, x + 0.66, 0.0});
    add_arc(s, x + 0.99, -0.62, 0.33, 0.38, PI, 0.0);
    s.push_back({x + 1.32, -0.62, x + 1.32, 0.0});
    x += 1.32 + gap;
    // o
    add_arc(s, x + 0.45, -0.5, 0.45, 0.5, 0.0, 2.0 * PI);
    x += 0.9 + gap;
    // r: a stem with a shoulder
    s.push_back({x, -1.0, x, 0.0});
    add_arc(s, x + 0.4, -0.55, 0.4, 0.45, PI, PI * 0.22);
    x += 0.72 + gap * 0.8;
    // a: a bowl and a stem on its right
    add_arc(s, x + 0.43, -0.5, 0.43, 0.5, 0.0, 2.0 * PI);
    s.push_back({x + 0.86, -1.0, x + 0.86, 0.0});
    x += 0.86;
    *width = x;
    return s;
}

static double segment_distance(double px, double py, const Stroke& s) {
    const double dx = s.x1 - s.x0, dy = s.y1 - s.y0;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - s.x0) * dx + (py - s.y0) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (s.x0 + t * dx), py - (s.y0 + t * dy));
}

// The name in large neon-like letters: a white-hot core, a coloured rim and a wide halo.
// The colour runs from firefly gold through green to aqua across the word.
static void draw_name(Canvas& c, int centre_x, int baseline, double unit) {
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
static void draw_controls_panel(Canvas& c, int x0, int y0, int x1, int y1, double radius) {
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
    const int px0 = 112, px1 = 912, py0 = 300, py1 = 694;
    Rng rng = make_rng(7031u);
    auto in_panel = [&](double x, double y) {
        return x > px0 - 14 && x < px1 + 14 && y > py0 - 14 && y < py1 + 14;
    };
    // Scattered fireflies.
    for (int i = 0; i < 150; ++i) {
        const double x = uniform(rng, 0, w), y = uniform(rng, 0, h);
        const Rgb col = SWARM_COLOURS[uniform_int(rng, 0, 8)];
        const double core = uniform(rng, 0.9, 2.2), halo = uniform(rng, 4.0, 12.0);
        const double bright = uniform(rng, 0.25, 0.9);
        if (in_panel(x, y)) continue;
        draw_firefly(c, x, y, col, core, halo, bright);
    }
    // A few light trails: fireflies in flight leave fading dots along curving paths.
    for (int t = 0; t < 7; ++t) {
        const Rgb col = SWARM_COLOURS[uniform_int(rng, 0, 8)];
        double x = uniform(rng, 0, w), y = uniform(rng, 0, h);
        double heading = uniform(rng, 0, 2.0 * PI);
        const double turn = uniform(rng, -0.09, 0.09);
        const int n = uniform_int(rng, 25, 45);
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
    draw_controls_panel(c, px0, py0, px1, py1, 14.0);
    const std::string heading = "CONTROLS";
    draw_text(c, heading, (w - 16 * static_cast<int>(heading.size())) / 2, py0 + 20, 2,
              Rgb{140, 230, 150});
    struct Line {
        const char* keys;
        const char* action;
    };
    // Keys that change the swarms first, then the ones that change only the view, then the
    // mouse; fifteen lines at 22 pixels keep the letters apart and fit the panel.
    const Line lines[] = {
        {"SPACE", "start"},
        {"ENTER", "settings panel"},
        {"ARROWS or KEYPAD 2/4/6/8", "edit a setting"},
        {"PGUP / PGDN", "choose swarm"},
        {"S / L", "save / load settings"},
        {"1 to 9", "load a preset"},
        {"P", "pause"},
        {"D", "glow detail"},
        {"G", "synchrony graph"},
        {"M", "sound on / off"},
        {"F1", "help"},
        {"F12 / F9", "save picture / replay"},
        {"hold SPACE", "light trails"},
        {"LEFT / RIGHT MOUSE BUTTON", "apply / next tool"},
        {"ESC", "quit"},
    };
    int y = py0 + 54;
    for (const Line& l : lines) {
        draw_text(c, l.keys, px0 + 40, y, 2, Rgb{255, 214, 110});
        draw_text(c, l.action, px0 + 40 + 16 * 26, y, 2, Rgb{220, 228, 236});
        y += 22;
    }

    const std::string prompt = "press SPACE to start";
    draw_glowing_text(c, prompt, (w - 24 * static_cast<int>(prompt.size())) / 2, 716, 3,
                      Rgb{255, 236, 150}, Rgb{150, 120, 20});
    return c;
}
