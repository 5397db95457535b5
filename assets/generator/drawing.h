// The generator's drawing kit, shared by every picture: deterministic random numbers and
// noise, pictures and coverage masks in floating point, additive light, blur, text, and
// writing a picture to a file through Allegro.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr double PI = 3.14159265358979323846;

// Random numbers and noise (random_noise.cpp).

// Small xorshift generator; each picture owns one with its own seed so that changing one
// picture never shifts the random numbers of another.
struct Rng {
    uint32_t state;
};

// A generator started from seed. Xorshift never leaves 0, so seed 0 is replaced.
Rng make_rng(uint32_t seed);
uint32_t next_bits(Rng& rng);
// Uniform in [lo, hi), from the top 24 bits of one draw.
double uniform(Rng& rng, double lo, double hi);
// Uniform whole number in [lo, hi].
int uniform_int(Rng& rng, int lo, int hi);

// Noise in [0,1) at a pixel from a stateless hash, so noise at a point does not depend on the
// order pixels are visited.
double hash_unit(int x, int y, uint32_t seed);
// 0 below e0, 1 beyond e1, a smooth S between (e1 may lie below e0 for a falling edge).
double smoothstep(double e0, double e1, double x);
// Value noise in [0,1): random values on an integer lattice, smoothly interpolated.
double value_noise(double x, double y, uint32_t seed);
// Fractal noise: octaves of value noise, each twice as fine and half as strong. Result ~[0,1).
double fbm(double x, double y, uint32_t seed, int octaves);

// Pictures in floating point (canvas.cpp).

struct Rgb {
    double r, g, b;
};

inline Rgb operator*(const Rgb& c, double k) { return {c.r * k, c.g * k, c.b * k}; }
inline Rgb operator+(const Rgb& a, const Rgb& b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb mix(const Rgb& a, const Rgb& b, double t) { return a * (1.0 - t) + b * t; }

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
void add_light(Canvas& c, int x, int y, const Rgb& light);

// Paints a mask onto the canvas in one colour, either covering (opaque paint, e.g. text)
// or adding (light, e.g. glow halos).
void paint_mask(Canvas& c, const Mask& m, int ox, int oy, const Rgb& colour, double strength,
                bool additive);

// Three box passes approximate a Gaussian blur, which gives soft, round glow halos.
Mask blurred(Mask m, int radius);

// Grows a mask by `pad` pixels on every side so its blur has room to spread.
Mask padded(const Mask& m, int pad);

// Text in Allegro's built-in 8x8 font, each font pixel a scale x scale block (text.cpp).

// Draws legible text: a one-pixel dark drop shadow keeps it readable over glowing dots.
void draw_text(Canvas& c, const std::string& text, int x, int y, int scale, const Rgb& colour);

// Text that glows: a blurred halo added as light under crisp letters.
void draw_glowing_text(Canvas& c, const std::string& text, int x, int y, int scale,
                       const Rgb& colour, const Rgb& halo);

// Writes the canvas as a 24-bit BMP file; says so on stderr and returns false when it cannot
// (save_canvas.cpp).
bool save_canvas(const Canvas& c, const std::string& path);

// Writes the canvas as a PNG file, like save_canvas (save_canvas.cpp).
bool save_canvas_png(const Canvas& c, const std::string& path);

// Writes text to a file; says so on stderr and returns false when it cannot (save_canvas.cpp).
bool save_text(const std::string& text, const std::string& path);
