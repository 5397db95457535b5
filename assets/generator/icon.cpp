// The program's icon: a firefly glowing over a night sky, with the light trail it leaves and
// two smaller fireflies of other swarms. The same scene is drawn as a 48x48 picture and written
// as a scalable drawing, so both sizes show the same thing.

#include <cmath>
#include <cstdio>
#include <string>

#include "assets/generator/drawing.h"
#include "assets/generator/media.h"

constexpr int ICON_SIZE = 48;

// A firefly as the icon shows it: a hot core inside a wider halo, in icon units (pixels of the
// 48x48 picture).
struct Glow {
    double x, y;
    double core, halo;
    Rgb colour;
    double brightness;
};

static const Glow GLOWS[] = {
    {12.0, 11.0, 1.4, 2.8, {255, 110, 200}, 0.8},
    {38.0, 35.5, 1.6, 3.2, {80, 200, 255}, 0.9},
    {29.0, 19.0, 3.4, 6.5, {190, 255, 80}, 1.1},
};

// The trail: light left along a curve that ends at the large firefly, fading with age.
constexpr int TRAIL_DOTS = 22;
static const double TRAIL[3][2] = {{7.0, 41.0}, {11.0, 20.0}, {27.0, 19.5}};

static void trail_dot(int i, double& x, double& y, double& strength) {
    const double t = 0.9 * i / (TRAIL_DOTS - 1);
    const double a = (1 - t) * (1 - t), b = 2 * (1 - t) * t, c = t * t;
    x = a * TRAIL[0][0] + b * TRAIL[1][0] + c * TRAIL[2][0];
    y = a * TRAIL[0][1] + b * TRAIL[1][1] + c * TRAIL[2][1];
    strength = 0.08 + 0.42 * t;
}

constexpr double TRAIL_RADIUS = 1.5;
static const Rgb TRAIL_COLOUR{150, 230, 90};
static const Rgb SKY_TOP{14, 20, 48}, SKY_BOTTOM{3, 4, 12};

static Rgb glow_light(const Glow& g, double px, double py) {
    const double d = std::hypot(px - g.x, py - g.y);
    const double k = std::exp(-(d * d) / (g.core * g.core)) + 0.35 * std::exp(-d / g.halo);
    const Rgb hot = mix(g.colour, Rgb{255, 255, 240}, 0.7 * std::exp(-d / g.core));
    return hot * (k * g.brightness);
}

Canvas make_icon() {
    Canvas c(ICON_SIZE, ICON_SIZE);
    for (int y = 0; y < ICON_SIZE; ++y) {
        for (int x = 0; x < ICON_SIZE; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            Rgb p = mix(SKY_TOP, SKY_BOTTOM, py / ICON_SIZE);
            for (int i = 0; i < TRAIL_DOTS; ++i) {
                double tx, ty, strength;
                trail_dot(i, tx, ty, strength);
                const double d = std::hypot(px - tx, py - ty);
                p = p + TRAIL_COLOUR * (strength * std::exp(-(d * d) / (TRAIL_RADIUS * 2.0)));
            }
            for (const Glow& g : GLOWS) p = p + glow_light(g, px, py);
            c.at(x, y) = p;
        }
    }
    return c;
}

static std::string colour_text(const Rgb& c) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<int>(c.r), static_cast<int>(c.g),
                  static_cast<int>(c.b));
    return text;
}

static std::string number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

// Each glow is a circle filled with a radial gradient: white-hot in the middle, the swarm's
// colour at the core's edge, fading out across the halo. The trail is the same curve stroked
// with a gradient from faint to bright and softened by a blur.
std::string make_icon_svg() {
    double x0, y0, x1, y1, strength0, strength1;
    trail_dot(0, x0, y0, strength0);
    trail_dot(TRAIL_DOTS - 1, x1, y1, strength1);
    // The control point of the part of the curve the dots cover (up to 0.9 of the way).
    const double cx = TRAIL[0][0] + 0.9 * (TRAIL[1][0] - TRAIL[0][0]);
    const double cy = TRAIL[0][1] + 0.9 * (TRAIL[1][1] - TRAIL[0][1]);
    const std::string trail = colour_text(TRAIL_COLOUR);
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" height=\"48\" "
        "viewBox=\"0 0 48 48\">\n"
        "  <defs>\n"
        "    <linearGradient id=\"sky\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">\n"
        "      <stop offset=\"0\" stop-color=\"" +
        colour_text(SKY_TOP) + "\"/>\n      <stop offset=\"1\" stop-color=\"" +
        colour_text(SKY_BOTTOM) + "\"/>\n    </linearGradient>\n";
    svg += "    <linearGradient id=\"trail\" gradientUnits=\"userSpaceOnUse\" x1=\"" + number(x0) +
           "\" y1=\"" + number(y0) + "\" x2=\"" + number(x1) + "\" y2=\"" + number(y1) +
           "\">\n      <stop offset=\"0\" stop-color=\"" + trail + "\" stop-opacity=\"" +
           number(strength0) + "\"/>\n      <stop offset=\"1\" stop-color=\"" + trail +
           "\" stop-opacity=\"" + number(strength1 * 1.6) + "\"/>\n    </linearGradient>\n";
    svg +=
        "    <filter id=\"soft\" x=\"-20%\" y=\"-20%\" width=\"140%\" height=\"140%\">\n"
        "      <feGaussianBlur stdDeviation=\"0.7\"/>\n    </filter>\n";
    for (size_t i = 0; i < sizeof GLOWS / sizeof GLOWS[0]; ++i) {
        const Glow& g = GLOWS[i];
        const double r = g.core + 1.6 * g.halo;
        const std::string colour = colour_text(g.colour);
        svg += "    <radialGradient id=\"glow" + std::to_string(i) + "\">\n";
        svg += "      <stop offset=\"0\" stop-color=\"#fffff0\" stop-opacity=\"1\"/>\n";
        svg += "      <stop offset=\"" + number(0.5 * g.core / r) + "\" stop-color=\"" + colour +
               "\" stop-opacity=\"" + number(std::fmin(1.0, g.brightness)) + "\"/>\n";
        svg += "      <stop offset=\"" + number(g.core / r) + "\" stop-color=\"" + colour +
               "\" stop-opacity=\"" + number(0.4 * g.brightness) + "\"/>\n";
        svg += "      <stop offset=\"" + number((g.core + g.halo) / r) + "\" stop-color=\"" +
               colour + "\" stop-opacity=\"" + number(0.08 * g.brightness) + "\"/>\n";
        svg += "      <stop offset=\"1\" stop-color=\"" + colour +
               "\" stop-opacity=\"0\"/>\n    </radialGradient>\n";
    }
    svg += "  </defs>\n  <rect width=\"48\" height=\"48\" fill=\"url(#sky)\"/>\n";
    svg += "  <path d=\"M " + number(x0) + " " + number(y0) + " Q " + number(cx) + " " +
           number(cy) + " " + number(x1) + " " + number(y1) +
           "\" fill=\"none\" stroke=\"url(#trail)\" stroke-width=\"" + number(TRAIL_RADIUS * 1.6) +
           "\" stroke-linecap=\"round\" filter=\"url(#soft)\"/>\n";
    for (size_t i = 0; i < sizeof GLOWS / sizeof GLOWS[0]; ++i) {
        const Glow& g = GLOWS[i];
        svg += "  <circle cx=\"" + number(g.x) + "\" cy=\"" + number(g.y) + "\" r=\"" +
               number(g.core + 1.6 * g.halo) + "\" fill=\"url(#glow" + std::to_string(i) +
               ")\"/>\n";
    }
    svg += "</svg>\n";
    return svg;
}
