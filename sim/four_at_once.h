// Steering's tests of several grid entries at once: the coarse distance and view test of four
// positions, the place of a slot number in a bucket, and the bit masks of lanes. Internal to
// sim/: only the fast steering includes it.
//
// With SSE2 (see sim/simd_switch.h) four or eight entries go through one instruction; the plain
// version goes through them one by one with the same single-precision arithmetic in the same
// order, so both give the same masks and places.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "sim/simd_switch.h"

#if LUMORA_SSE2
using FourFloats = __m128;
inline FourFloats four_of(float v) { return _mm_set1_ps(v); }
#else
using FourFloats = float;
inline FourFloats four_of(float v) { return v; }
#endif

// A coarse test of four entries at once, in single precision: which of them lie at a squared
// distance between lo2 and hi2 from the walker and, if a cone is set, in its view cone. Its
// bounds and the cone carry margins far wider than single-precision rounding, so it only
// passes over entries that the exact test would reject; every entry it lets through is tested
// exactly.
struct FourAtOnce {
    const float* xs;  // positions by entry, padded so that four may be read past the last one
    const float* ys;
    FourFloats wx, wy, hx, hy, lo2, hi2, cos2;
    bool cone = false;
    bool wide = false;  // the cone is more than a right angle across each side

    // Entries between lo and hi pixels from (x, y); a negative lo lets every nearer one pass.
    FourAtOnce(const float* entry_x, const float* entry_y, float x, float y, double lo, double hi)
        : xs(entry_x),
          ys(entry_y),
          wx(four_of(x)),
          wy(four_of(y)),
          hx(four_of(0.0f)),
          hy(four_of(0.0f)),
          cos2(four_of(0.0f)) {
        set_bounds(lo, hi);
    }
    // Also keeps to the cone around the unit heading (dir_x, dir_y) whose edges have the cosine
    // edge_cos.
    void set_cone(double dir_x, double dir_y, double edge_cos) {
        cone = true;
        wide = edge_cos < 0.0;
        hx = four_of(static_cast<float>(dir_x));
        hy = four_of(static_cast<float>(dir_y));
        cos2 = four_of(static_cast<float>(edge_cos * edge_cos));
    }
    void set_bounds(double lo, double hi) {
        lo2 = four_of(lo < 0.0 ? -1.0f : static_cast<float>(lo * lo));
        hi2 = four_of(static_cast<float>(std::min(hi * hi, 1e30)));
    }
    // Bit b stands for entry k + b.
    int mask(int k) const {
#if LUMORA_SSE2
        const __m128 dx = _mm_sub_ps(_mm_loadu_ps(xs + k), wx);
        const __m128 dy = _mm_sub_ps(_mm_loadu_ps(ys + k), wy);
        const __m128 d2 = _mm_add_ps(_mm_mul_ps(dx, dx), _mm_mul_ps(dy, dy));
        __m128 m = _mm_and_ps(_mm_cmpgt_ps(d2, lo2), _mm_cmplt_ps(d2, hi2));
        if (cone) {
            const __m128 dot = _mm_add_ps(_mm_mul_ps(dx, hx), _mm_mul_ps(dy, hy));
            const __m128 front = _mm_cmpge_ps(dot, _mm_setzero_ps());
            const __m128 dot2 = _mm_mul_ps(dot, dot);
            const __m128 edge2 = _mm_mul_ps(d2, cos2);
            m = _mm_and_ps(m, wide ? _mm_or_ps(front, _mm_cmple_ps(dot2, edge2))
                                   : _mm_and_ps(front, _mm_cmpge_ps(dot2, edge2)));
        }
        return _mm_movemask_ps(m);
#else
        int m = 0;
        for (int b = 0; b < 4; ++b) {
            const float dx = xs[k + b] - wx;
            const float dy = ys[k + b] - wy;
            const float d2 = dx * dx + dy * dy;
            bool pass = d2 > lo2 && d2 < hi2;
            if (cone) {
                const float dot = dx * hx + dy * hy;
                const bool front = dot >= 0.0f;
                const float dot2 = dot * dot;
                const float edge2 = d2 * cos2;
                pass = pass && (wide ? front || dot2 <= edge2 : front && dot2 >= edge2);
            }
            m |= static_cast<int>(pass) << b;
        }
        return m;
#endif
    }
};

// How many of the ascending entries first to last - 1 are at or below `top`: the place of the
// first entry above it. The list must be readable eight entries past its end.
inline int first_above(const int32_t* first, const int32_t* last, int top) {
#if LUMORA_SSE2
    // Eight at a time: whole groups at or below `top` are passed over, and in the group that
    // reaches past it the entries at or below it are counted. Lanes past the end compare as if
    // above. Entries are slot numbers, far below the largest int, so top + 1 cannot overflow
    // for any top that matters; a larger top counts the whole list.
    if (top >= INT32_MAX - 1) return static_cast<int>(last - first);
    const __m128i bound = _mm_set1_epi32(top + 1);
    const int32_t* p = first;
    for (;; p += 8) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 4));
        const int below = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(bound, low))) |
                          _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(bound, high))) << 4;
        const std::ptrdiff_t left = last - p;
        const int in_list = left >= 8 ? 0xFF : (1 << left) - 1;
        if ((below & in_list) != 0xFF || left <= 8) {
            return static_cast<int>(p - first) + __builtin_popcount(below & in_list);
        }
    }
#else
    // A binary search whose steps choose without branching, which suits short unpredictable
    // lists.
    const int32_t* base = first;
    for (std::ptrdiff_t n = last - first; n > 1;) {
        const std::ptrdiff_t half = n / 2;
        base = base[half] <= top ? base + half : base;
        n -= half;
    }
    return static_cast<int>(base - first) + (base != last && *base <= top ? 1 : 0);
#endif
}

// The bits of the entries k to end - 1 among the four starting at k.
inline int lanes_before(int k, int end) { return 0xF >> (4 - std::min(end - k, 4)); }

// The lowest and the highest lane whose bit is set in a mask that is not 0.
inline int lowest_lane(int mask) { return __builtin_ctz(static_cast<unsigned>(mask)); }
inline int highest_lane(int mask) { return 31 - __builtin_clz(static_cast<unsigned>(mask)); }
