#include <algorithm>
#include <cmath>
#include <cstdint>

#include "assets/generator/drawing.h"

Rng make_rng(uint32_t seed) { return Rng{seed ? seed : 0x9e3779b9u}; }

uint32_t next_bits(Rng& rng) {
    rng.state ^= rng.state << 13;
    rng.state ^= rng.state >> 17;
    rng.state ^= rng.state << 5;
    return rng.state;
}

double uniform(Rng& rng, double lo, double hi) {
    return lo + (hi - lo) * (next_bits(rng) >> 8) / 16777216.0;
}

int uniform_int(Rng& rng, int lo, int hi) {
    return lo + static_cast<int>(next_bits(rng) % (hi - lo + 1));
}

// Mixes a pixel's position and a seed into 32 well-spread bits.
static uint32_t hash2(int x, int y, uint32_t seed) {
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

static double smooth(double t) { return t * t * (3.0 - 2.0 * t); }

double smoothstep(double e0, double e1, double x) {
    return smooth(std::clamp((x - e0) / (e1 - e0), 0.0, 1.0));
}

double value_noise(double x, double y, uint32_t seed) {
    const int ix = static_cast<int>(std::floor(x));
    const int iy = static_cast<int>(std::floor(y));
    const double fx = smooth(x - ix);
    const double fy = smooth(y - iy);
    const double a = hash_unit(ix, iy, seed), b = hash_unit(ix + 1, iy, seed);
    const double c = hash_unit(ix, iy + 1, seed), d = hash_unit(ix + 1, iy + 1, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

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
