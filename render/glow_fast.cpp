// The fast glow: the same pixels as the single-pixel version, written straight into the rows of
// a memory bitmap, and finished band by band together with the background copy so that each
// band is still in the cache when its light is added.
#include <allegro.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "render/band_worker.h"
#include "render/color.h"
#include "render/glow.h"
#include "render/media.h"
#include "sim/geometry.h"
#include "sim/simd_switch.h"
#include "sim/world.h"

namespace {

constexpr int GLOW_SIZE = 10;
constexpr int MAX_WEIGHT = 10;

// Where light may land: inside the bitmap and inside its clipping rectangle, since the library
// reads pixels only inside the one and writes them only inside the other.
struct Area {
    int x0, y0, x1, y1;  // x1 and y1 are one past the last column and row
};

Area drawable_area(const BITMAP* bmp) {
    Area a{0, 0, bmp->w, bmp->h};
    if (bmp->clip) {
        a.x0 = std::max(a.x0, bmp->cl);
        a.y0 = std::max(a.y0, bmp->ct);
        a.x1 = std::min(a.x1, bmp->cr);
        a.y1 = std::min(a.y1, bmp->cb);
    }
    return a;
}

// Each colour depth packs and unpacks colours as the library does for it, and adds a run of
// colours to a run of pixels. A colour of 0 or less adds nothing, as black is skipped; for
// the others the result equals unpacking both colours, adding the channels, saturating at 255
// and packing again. A white pixel comes out unchanged either way.
struct Depth32 {
    uint32_t channels;  // the bytes that hold red, green and blue
    static int pack(int r, int g, int b) { return makecol32(r, g, b); }
    static int red(int c) { return getr32(c); }
    static int green(int c) { return getg32(c); }
    static int blue(int c) { return getb32(c); }
#if LUMORA_SSE2
    // Four pixels with four colours added, bytes saturating; a colour of 0 or less leaves its
    // pixel as it is.
    __m128i add4(__m128i pixels, __m128i light) const {
        const __m128i lit = _mm_cmpgt_epi32(light, _mm_setzero_si128());
        const __m128i sum =
            _mm_and_si128(_mm_adds_epu8(pixels, light), _mm_set1_epi32(static_cast<int>(channels)));
        return _mm_or_si128(_mm_and_si128(lit, sum), _mm_andnot_si128(lit, pixels));
    }
    void add1(uint32_t& pixel, int color) const {
        if (color <= 0) return;
        const __m128i sum =
            _mm_adds_epu8(_mm_cvtsi32_si128(static_cast<int>(pixel)), _mm_cvtsi32_si128(color));
        pixel = static_cast<uint32_t>(_mm_cvtsi128_si32(sum)) & channels;
    }
    void add_run(uint8_t* row, int x, const int* colors, int n) const {
        uint32_t* p = reinterpret_cast<uint32_t*>(row) + x;
        int i = 0;
        for (; i + 4 <= n; i += 4) {
            const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            const __m128i light = _mm_loadu_si128(reinterpret_cast<const __m128i*>(colors + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), add4(pixels, light));
        }
        for (; i < n; ++i) add1(p[i], colors[i]);
    }
    // The same for the colours palette[weights[0]] to palette[weights[n - 1]], gathered
    // straight into registers: a run stored to memory and read back at once as four would
    // wait for the stores to land.
    void add_weighted_run(uint8_t* row, int x, const int* palette, const int* weights,
                          int n) const {
        uint32_t* p = reinterpret_cast<uint32_t*>(row) + x;
        int i = 0;
        for (; i + 4 <= n; i += 4) {
            const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            const __m128i light = _mm_setr_epi32(palette[weights[i]], palette[weights[i + 1]],
                                                 palette[weights[i + 2]], palette[weights[i + 3]]);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), add4(pixels, light));
        }
        for (; i < n; ++i) add1(p[i], palette[weights[i]]);
    }
#else
    // All four bytes add and saturate, as the SSE2 version's do, before the byte that holds no
    // channel is cleared; a colour of 0 or less leaves the pixel as it is.
    void add1(uint32_t& pixel, int color) const {
        if (color <= 0) return;
        const uint32_t c = static_cast<uint32_t>(color);
        uint32_t sum = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const uint32_t v = ((pixel >> shift) & 0xFFu) + ((c >> shift) & 0xFFu);
            sum |= (v > 255 ? 255u : v) << shift;
        }
        pixel = sum & channels;
    }
    void add_run(uint8_t* row, int x, const int* colors, int n) const {
        uint32_t* p = reinterpret_cast<uint32_t*>(row) + x;
        for (int i = 0; i < n; ++i) add1(p[i], colors[i]);
    }
    void add_weighted_run(uint8_t* row, int x, const int* palette, const int* weights,
                          int n) const {
        uint32_t* p = reinterpret_cast<uint32_t*>(row) + x;
        for (int i = 0; i < n; ++i) add1(p[i], palette[weights[i]]);
    }
#endif
};

struct Depth24 {
    static int pack(int r, int g, int b) { return makecol24(r, g, b); }
    static int red(int c) { return getr24(c); }
    static int green(int c) { return getg24(c); }
    static int blue(int c) { return getb24(c); }
    void add_run(uint8_t* row, int x, const int* colors, int n) const {
        uint8_t* p = row + 3 * x;
        for (int i = 0; i < n; ++i, p += 3) {
            if (colors[i] <= 0) continue;
            for (int k = 0; k < 3; ++k) {
                const unsigned v = p[k] + ((static_cast<unsigned>(colors[i]) >> (8 * k)) & 0xFFu);
                p[k] = static_cast<uint8_t>(v > 255 ? 255 : v);
            }
        }
    }
};

// 15- and 16-bit pixels hold fewer bits per channel; the library widens them to 0 to 255
// through its scale tables before adding and drops the low bits again when packing. Tables
// of every pair of channel values give the same result in one look-up.
struct Depth16 {
    bool wide_green;  // 6 green bits in 16-bit pixels, 5 in 15-bit ones
    int r_shift, g_shift, b_shift;
    uint8_t sum5[32][32];
    uint8_t sum6[64][64];
    int pack(int r, int g, int b) const {
        return wide_green ? makecol16(r, g, b) : makecol15(r, g, b);
    }
    int red(int c) const { return wide_green ? getr16(c) : getr15(c); }
    int green(int c) const { return wide_green ? getg16(c) : getg15(c); }
    int blue(int c) const { return wide_green ? getb16(c) : getb15(c); }
    void add_run(uint8_t* row, int x, const int* colors, int n) const {
        uint16_t* p = reinterpret_cast<uint16_t*>(row) + x;
        for (int i = 0; i < n; ++i) {
            if (colors[i] <= 0) continue;
            const uint32_t c = static_cast<uint32_t>(colors[i]);
            const uint32_t v = p[i];
            const uint32_t r = sum5[(c >> r_shift) & 31][(v >> r_shift) & 31];
            const uint32_t b = sum5[(c >> b_shift) & 31][(v >> b_shift) & 31];
            const uint32_t g = wide_green ? sum6[(c >> g_shift) & 63][(v >> g_shift) & 63]
                                          : sum5[(c >> g_shift) & 31][(v >> g_shift) & 31];
            p[i] = static_cast<uint16_t>((r << r_shift) | (g << g_shift) | (b << b_shift));
        }
    }
};

// Depths without a gathering version of their own build the run of colours first.
template <typename Pixels>
void add_weighted_run(const Pixels& pixels, uint8_t* row, int x, const int* palette,
                      const int* weights, int n) {
    int run[GLOW_SIZE];
    for (int i = 0; i < n; ++i) run[i] = palette[weights[i]];
    pixels.add_run(row, x, run, n);
}

void add_weighted_run(const Depth32& pixels, uint8_t* row, int x, const int* palette,
                      const int* weights, int n) {
    pixels.add_weighted_run(row, x, palette, weights, n);
}

uint8_t widened_sum(int a, int b, const int* scale, int bits) {
    const int sum = std::min(255, scale[a] + scale[b]);
    return static_cast<uint8_t>(sum >> (8 - bits));
}

// One firefly's light, prepared in slot order: where it lands and its packed colours. For the
// shine glow `color[k]` is the colour of weight k; for the 3 by 3 pattern the first three are
// the core, edge and corner colours.
struct Light {
    int px, py;
    int color[MAX_WEIGHT + 1];
};

// Bands of rows, each holding copies of the lights that reach into it in slot order, so that a
// pixel receives its light in slot order as with the whole picture at once, and a band reads
// its lights one after another. A band is 32 rows, or fewer on a wide picture so that a band
// and its part of the background stay in the cache together, but never fewer than 16: a light,
// 10 rows high, then reaches at most two bands.
constexpr int BAND_ROWS_MOST = 32;
constexpr int BAND_ROWS_LEAST = 16;
constexpr int BAND_BYTES = 128 * 1024;
constexpr int MAX_BANDS = (FIELD_H_MOST + BAND_ROWS_LEAST - 1) / BAND_ROWS_LEAST;
// A picture of at least this many pixels shares its bands between two threads; below it the
// second thread's waking costs more than it saves.
constexpr long SHARED_PIXELS_LEAST = 3000000;

// The work space of one drawing, filled afresh each frame; kept static so that a frame
// allocates nothing.
struct GlowWork {
    Light lights[FIREFLIES_MOST];
    int kernel_rows[GLOW_SIZE][GLOW_SIZE];  // the shine weights by row, for a row at a time
    Light filed[2 * FIREFLIES_MOST];        // band 0's lights, then band 1's, ...
    int band_start[MAX_BANDS + 1];          // where each band's lights begin in `filed`
};
GlowWork work;

// Prepares the light of every live firefly and returns how many there are.
template <typename Pixels>
int prepare_lights(const Pixels& pixels, const Area& area, bool low_detail) {
    int n = 0;
    for (int i = 0; i < firefly_capacity; ++i) {
        FireflyLight at;
        if (!is_live(fireflies[i]) || !firefly_light(i, area.x0, area.y0, area.x1, area.y1, at)) {
            continue;
        }
        const int core = pixels.pack(at.r, at.g, at.b);
        Light& light = work.lights[n++];
        light.px = at.px;
        light.py = at.py;
        const int r = pixels.red(core), g = pixels.green(core), b = pixels.blue(core);
        if (!low_detail) {
            for (int k = 0; k <= MAX_WEIGHT; ++k)
                light.color[k] = pixels.pack(r * k / 10, g * k / 10, b * k / 10);
        } else {
            light.color[0] = core;
            light.color[1] =
                pixels.pack(trunc_to_int(r / 1.6), trunc_to_int(g / 1.6), trunc_to_int(b / 1.6));
            light.color[2] =
                pixels.pack(trunc_to_int(r / 3.2), trunc_to_int(g / 3.2), trunc_to_int(b / 3.2));
        }
    }
    return n;
}

// The rows y0 to y1 - 1 of a firefly's shine glow.
template <typename Pixels>
void add_glow_rows(const Pixels& pixels, BITMAP* bmp, const Area& area, const Light& light, int y0,
                   int y1) {
    const int left = light.px - 5;
    const int top = light.py - 5;
    const int i0 = std::max(0, area.x0 - left);
    const int i1 = std::min(GLOW_SIZE, area.x1 - left);
    const int j0 = std::max(0, y0 - top);
    const int j1 = std::min(GLOW_SIZE, y1 - top);
    for (int j = j0; j < j1; ++j) {
        add_weighted_run(pixels, bmp->line[top + j], left + i0, light.color,
                         work.kernel_rows[j] + i0, i1 - i0);
    }
}

// The rows y0 to y1 - 1 of a firefly's 3 by 3 pattern.
template <typename Pixels>
void add_pattern_rows(const Pixels& pixels, BITMAP* bmp, const Area& area, const Light& light,
                      int y0, int y1) {
    const int core = light.color[0], edge = light.color[1], corner = light.color[2];
    const int pattern[3][3] = {{corner, edge, corner}, {edge, core, edge}, {corner, edge, corner}};
    const int x0 = std::max(area.x0, light.px - 1);
    const int x1 = std::min(area.x1, light.px + 2);
    const int top = std::max({area.y0, y0, light.py - 1});
    const int bottom = std::min({area.y1, y1, light.py + 2});
    for (int y = top; y < bottom; ++y) {
        if (x0 < x1)
            pixels.add_run(bmp->line[y], x0, pattern[y - light.py + 1] + (x0 - light.px + 1),
                           x1 - x0);
    }
}

// What every band of one drawing shares.
template <typename Pixels>
struct Drawing {
    const Pixels* pixels;
    BITMAP* bmp;
    BITMAP* background;
    Area area;
    bool low_detail;
    int band_rows;
    int row_bytes;
};

// One band: its rows of the background, then its lights.
template <typename Pixels>
void draw_band(const void* context, int b) {
    const Drawing<Pixels>& d = *static_cast<const Drawing<Pixels>*>(context);
    const int y0 = b * d.band_rows;
    const int y1 = std::min(d.bmp->h, y0 + d.band_rows);
    if (d.background != nullptr) {
        for (int y = y0; y < y1; ++y)
            std::memcpy(d.bmp->line[y], d.background->line[y], d.row_bytes);
    }
    for (int k = work.band_start[b]; k < work.band_start[b + 1]; ++k) {
        if (!d.low_detail) {
            add_glow_rows(*d.pixels, d.bmp, d.area, work.filed[k], y0, y1);
        } else {
            add_pattern_rows(*d.pixels, d.bmp, d.area, work.filed[k], y0, y1);
        }
    }
}

template <typename Pixels>
void draw_all(const Pixels& pixels, BITMAP* bmp, bool low_detail, BITMAP* background) {
    const Area area = drawable_area(bmp);
    const int n = prepare_lights(pixels, area, low_detail);
    for (int j = 0; j < GLOW_SIZE; ++j) {
        for (int i = 0; i < GLOW_SIZE; ++i) work.kernel_rows[j][i] = shine_kernel[i][j];
    }
    const int row_bytes = bmp->w * ((bitmap_color_depth(bmp) + 7) / 8);
    const int band_rows =
        std::max(BAND_ROWS_LEAST, std::min(BAND_ROWS_MOST, BAND_BYTES / std::max(1, row_bytes)));
    const int bands = (bmp->h + band_rows - 1) / band_rows;

    // File each light under every band its rows touch, keeping slot order within a band: count
    // them, find where each band begins, then copy them there.
    const int above = low_detail ? 1 : 5;
    const int below = low_detail ? 1 : 4;
    auto bands_of = [&](const Light& light, int& first, int& last) {
        const int top = std::max(area.y0, light.py - above);
        const int bottom = std::min(area.y1 - 1, light.py + below);
        first = top / band_rows;
        last = top <= bottom ? bottom / band_rows : first - 1;
    };
    int* start = work.band_start;
    for (int b = 0; b <= bands; ++b) start[b] = 0;
    for (int k = 0; k < n; ++k) {
        int first = 0, last = 0;
        bands_of(work.lights[k], first, last);
        for (int b = first; b <= last; ++b) ++start[b + 1];
    }
    for (int b = 0; b < bands; ++b) start[b + 1] += start[b];
    for (int k = 0; k < n; ++k) {
        int first = 0, last = 0;
        bands_of(work.lights[k], first, last);
        for (int b = first; b <= last; ++b) work.filed[start[b]++] = work.lights[k];
    }
    // Each band's start has moved to the next band's: move them back.
    for (int b = bands; b > 0; --b) start[b] = start[b - 1];
    start[0] = 0;

    const Drawing<Pixels> drawing{&pixels, bmp, background, area, low_detail, band_rows, row_bytes};
    if (static_cast<long>(bmp->w) * bmp->h >= SHARED_PIXELS_LEAST) {
        run_bands(draw_band<Pixels>, &drawing, bands);
    } else {
        for (int b = 0; b < bands; ++b) draw_band<Pixels>(&drawing, b);
    }
}

bool byte_aligned(int shift) { return shift >= 0 && shift <= 24 && shift % 8 == 0; }

bool kernel_weights_in_range() {
    for (const auto& column : shine_kernel) {
        for (int k : column) {
            if (k < 0 || k > MAX_WEIGHT) return false;
        }
    }
    return true;
}

// Whether the background can be copied row by row into bmp: two memory bitmaps of one size
// and depth, and no clipping rectangle that a copy would have to respect.
bool rows_copyable(BITMAP* bmp, BITMAP* background) {
    const bool clipped =
        bmp->clip && (bmp->cl != 0 || bmp->ct != 0 || bmp->cr != bmp->w || bmp->cb != bmp->h);
    return is_memory_bitmap(bmp) && is_memory_bitmap(background) && background->w == bmp->w &&
           background->h == bmp->h && !clipped &&
           bitmap_color_depth(background) == bitmap_color_depth(bmp);
}

}  // namespace

void draw_fireflies_fast(BITMAP* bmp, bool low_detail, BITMAP* background) {
    if (background != nullptr && !rows_copyable(bmp, background)) {
        blit(background, bmp, 0, 0, 0, 0, bmp->w, bmp->h);
        background = nullptr;
    }
    // The library packs colours in the depth chosen for the program; the fast path writes them
    // straight into the bitmap, so the two must agree.
    const int depth = bitmap_color_depth(bmp);
    const bool direct =
        is_memory_bitmap(bmp) && depth == get_color_depth() && kernel_weights_in_range();
    if (direct && depth == 32 && byte_aligned(_rgb_r_shift_32) && byte_aligned(_rgb_g_shift_32) &&
        byte_aligned(_rgb_b_shift_32)) {
        const Depth32 pixels{(0xFFu << _rgb_r_shift_32) | (0xFFu << _rgb_g_shift_32) |
                             (0xFFu << _rgb_b_shift_32)};
        draw_all(pixels, bmp, low_detail, background);
    } else if (direct && depth == 24 && byte_aligned(_rgb_r_shift_24) &&
               byte_aligned(_rgb_g_shift_24) && byte_aligned(_rgb_b_shift_24)) {
        draw_all(Depth24{}, bmp, low_detail, background);
    } else if (direct && (depth == 15 || depth == 16)) {
        static Depth16 pixels;
        pixels.wide_green = depth == 16;
        pixels.r_shift = pixels.wide_green ? _rgb_r_shift_16 : _rgb_r_shift_15;
        pixels.g_shift = pixels.wide_green ? _rgb_g_shift_16 : _rgb_g_shift_15;
        pixels.b_shift = pixels.wide_green ? _rgb_b_shift_16 : _rgb_b_shift_15;
        for (int a = 0; a < 32; ++a) {
            for (int b = 0; b < 32; ++b) pixels.sum5[a][b] = widened_sum(a, b, _rgb_scale_5, 5);
        }
        for (int a = 0; a < 64; ++a) {
            for (int b = 0; b < 64; ++b) pixels.sum6[a][b] = widened_sum(a, b, _rgb_scale_6, 6);
        }
        draw_all(pixels, bmp, low_detail, background);
    } else {
        if (background != nullptr) blit(background, bmp, 0, 0, 0, 0, bmp->w, bmp->h);
        draw_fireflies(bmp, low_detail);
    }
}
