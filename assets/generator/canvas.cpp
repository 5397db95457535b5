#include <algorithm>
#include <vector>

#include "assets/generator/drawing.h"

void add_light(Canvas& c, int x, int y, const Rgb& light) {
    if (c.inside(x, y)) c.at(x, y) = c.at(x, y) + light;
}

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
static void box_blur_once(Mask& m, int r) {
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

Mask blurred(Mask m, int radius) {
    for (int i = 0; i < 3; ++i) box_blur_once(m, radius);
    return m;
}

Mask padded(const Mask& m, int pad) {
    Mask out(m.w + 2 * pad, m.h + 2 * pad);
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) out.at(x + pad, y + pad) = m.v[y * m.w + x];
    return out;
}
