#include "render/shade.h"

#include <allegro.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

// The bits that remain of each channel when a packed colour moves down `places` places: every
// channel field keeps all but its top bits, so no bit spills into the next field.
static uint32_t shifted_mask(int depth, int places) {
    uint32_t mask = 0;
    const int fields[3] = {makecol_depth(depth, 255, 0, 0), makecol_depth(depth, 0, 255, 0),
                           makecol_depth(depth, 0, 0, 255)};
    for (int field : fields) {
        const uint32_t f = static_cast<uint32_t>(field);
        mask |= (f >> places) & f;
    }
    return mask;
}

static uint32_t quarter_mask(int depth) { return shifted_mask(depth, 2); }

void darken_box(BITMAP* bmp, int x0, int y0, int x1, int y1) {
    x0 = std::max(x0, bmp->clip ? bmp->cl : 0);
    y0 = std::max(y0, bmp->clip ? bmp->ct : 0);
    x1 = std::min(x1 + 1, bmp->clip ? bmp->cr : bmp->w);
    y1 = std::min(y1 + 1, bmp->clip ? bmp->cb : bmp->h);
    if (x0 >= x1 || y0 >= y1) return;
    const int depth = bitmap_color_depth(bmp);
    const uint32_t mask = quarter_mask(depth);
    const bool two_bytes = depth == 15 || depth == 16;
    const bool byte_channels = depth == 24 || depth == 32;
    if (!is_memory_bitmap(bmp) || !(two_bytes || byte_channels)) {
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const uint32_t c = static_cast<uint32_t>(getpixel(bmp, x, y));
                putpixel(bmp, x, y, static_cast<int>((c >> 2) & mask));
            }
        }
        return;
    }
    // A memory bitmap's rows are written directly, a pixel costing a shift and a mask. At 24
    // and 32 bits every channel is a byte of its own, so a row's bytes are shifted four at a time
    // with the top two bits of each byte cleared.
    for (int y = y0; y < y1; ++y) {
        uint8_t* row = bmp->line[y];
        if (two_bytes) {
            uint16_t* p = reinterpret_cast<uint16_t*>(row);
            for (int x = x0; x < x1; ++x) p[x] = static_cast<uint16_t>((p[x] >> 2) & mask);
            continue;
        }
        const int bytes = depth / 8;
        uint8_t* p = row + x0 * bytes;
        const int n = (x1 - x0) * bytes;
        int i = 0;
        for (; i + 4 <= n; i += 4) {
            uint32_t word;
            std::memcpy(&word, p + i, 4);
            word = (word >> 2) & 0x3f3f3f3fu;
            std::memcpy(p + i, &word, 4);
        }
        for (; i < n; ++i) p[i] = static_cast<uint8_t>(p[i] >> 2);
    }
}

void tint_vline(BITMAP* bmp, int x, int y0, int y1, int color) {
    if (y0 > y1) std::swap(y0, y1);
    const int left = bmp->clip ? bmp->cl : 0, right = bmp->clip ? bmp->cr : bmp->w;
    if (x < left || x >= right) return;
    y0 = std::max(y0, bmp->clip ? bmp->ct : 0);
    y1 = std::min(y1, (bmp->clip ? bmp->cb : bmp->h) - 1);
    const int depth = bitmap_color_depth(bmp);
    const uint32_t half = shifted_mask(depth, 1);
    const uint32_t tint = (static_cast<uint32_t>(color) >> 1) & half;
    // The channels of the mean are each half of the old one plus half of the tint's: halving
    // first keeps every sum within its field.
    if (!is_memory_bitmap(bmp) || (depth != 15 && depth != 16 && depth != 24 && depth != 32)) {
        for (int y = y0; y <= y1; ++y) {
            const uint32_t c = static_cast<uint32_t>(getpixel(bmp, x, y));
            putpixel(bmp, x, y, static_cast<int>(((c >> 1) & half) + tint));
        }
        return;
    }
    // A memory bitmap's pixels are read and written in its rows directly; at 24 bits a pixel's
    // three bytes are its three channels.
    const int bytes = (depth + 1) / 8;
    uint8_t tint_bytes[4];
    std::memcpy(tint_bytes, &tint, sizeof tint_bytes);
    for (int y = y0; y <= y1; ++y) {
        uint8_t* p = bmp->line[y] + x * bytes;
        if (bytes == 3) {
            for (int i = 0; i < 3; ++i) p[i] = static_cast<uint8_t>((p[i] >> 1) + tint_bytes[i]);
        } else if (bytes == 2) {
            uint16_t c;
            std::memcpy(&c, p, 2);
            c = static_cast<uint16_t>(((c >> 1) & half) + tint);
            std::memcpy(p, &c, 2);
        } else {
            uint32_t c;
            std::memcpy(&c, p, 4);
            c = ((c >> 1) & half) + tint;
            std::memcpy(p, &c, 4);
        }
    }
}
