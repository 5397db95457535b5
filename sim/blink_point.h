// A firefly's blink as a point on the unit circle: the cosine and sine of its glow phase, in
// double precision. The glow needs the sine for its brightness and the synchrony measures need
// both, for the same phase in the same frame. Each slot keeps the pair it was given last with
// the phase it belongs to, so a frame works each pair out once and every user gets the same
// bits as working it out again would give.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "sim/world.h"

struct BlinkPoint {
    uint32_t phase_bits;  // the glow phase the pair belongs to, bit for bit
    bool known;           // whether the slot holds a pair at all
    double cosine;
    double sine;
};

extern BlinkPoint blink_points[FIREFLIES_MOST];

// The point of the firefly in slot. The phase is compared bit for bit, so -0 and +0, whose
// sines differ in sign, never share a pair.
inline const BlinkPoint& blink_point(int slot) {
    const float phase = fireflies[slot].glow_phase;
    uint32_t bits;
    std::memcpy(&bits, &phase, sizeof bits);
    BlinkPoint& p = blink_points[slot];
    if (!p.known || p.phase_bits != bits) {
        p.phase_bits = bits;
        p.known = true;
        // One call of the C library's sincos works out both, with the same bits as its sin
        // and cos give each.
        sincos(static_cast<double>(phase), &p.sine, &p.cosine);
    }
    return p;
}

// Forgets every pair, so that each is worked out again when next asked for.
void forget_blink_points();
