#include "render/overlay_place.h"

#include <allegro.h>

#include <algorithm>

#include "render/media.h"
#include "render/shade.h"
#include "sim/world.h"

int overlay_scale(int field_h) { return std::max(1, field_h / SCREEN_H_PX); }

OverlayPlace overlay_place(int w, int h, int scale, Anchor anchor) {
    OverlayPlace p;
    p.scale = scale;
    const int layout_w = SCREEN_W_PX * scale;
    const int layout_h = SCREEN_H_PX * scale;
    switch (anchor) {
        case Anchor::TOP_LEFT:
            break;
        case Anchor::BOTTOM_RIGHT:
            p.left = w - layout_w;
            p.top = h - layout_h;
            break;
        case Anchor::BOTTOM_CENTRE:
            p.left = w / 2 - layout_w / 2;
            p.top = h - layout_h;
            break;
        case Anchor::CENTRE:
            p.left = w / 2 - layout_w / 2;
            p.top = h / 2 - layout_h / 2;
            break;
    }
    return p;
}

// The last pixel column or row that layout pixels a to b cover, either may be the higher.
static int last_of(const OverlayPlace& p, int a, int b) { return std::max(a, b) * p.scale; }

void place_rect(BITMAP* bmp, const OverlayPlace& p, int x0, int y0, int x1, int y1, int color) {
    // A line of the layout is scale pixels thick: scale frames, one inside the other.
    for (int k = 0; k < p.scale; ++k) {
        rect(bmp, p.x(x0) + k, p.y(y0) + k, p.x(x1) + p.scale - 1 - k, p.y(y1) + p.scale - 1 - k,
             color);
    }
}

void place_rectfill(BITMAP* bmp, const OverlayPlace& p, int x0, int y0, int x1, int y1, int color) {
    if (p.scale == 1) {
        rectfill(bmp, p.x(x0), p.y(y0), p.x(x1), p.y(y1), color);
        return;
    }
    rectfill(bmp, p.left + std::min(x0, x1) * p.scale, p.top + std::min(y0, y1) * p.scale,
             p.left + last_of(p, x0, x1) + p.scale - 1, p.top + last_of(p, y0, y1) + p.scale - 1,
             color);
}

void place_vline(BITMAP* bmp, const OverlayPlace& p, int x, int y0, int y1, int color) {
    if (p.scale == 1) {
        vline(bmp, p.x(x), p.y(y0), p.y(y1), color);
        return;
    }
    place_rectfill(bmp, p, x, y0, x, y1, color);
}

void place_putpixel(BITMAP* bmp, const OverlayPlace& p, int x, int y, int color) {
    if (p.scale == 1) {
        putpixel(bmp, p.x(x), p.y(y), color);
        return;
    }
    place_rectfill(bmp, p, x, y, x, y, color);
}

void place_darken_box(BITMAP* bmp, const OverlayPlace& p, int x0, int y0, int x1, int y1) {
    darken_box(bmp, p.x(x0), p.y(y0), p.x(x1) + p.scale - 1, p.y(y1) + p.scale - 1);
}

void place_tint_vline(BITMAP* bmp, const OverlayPlace& p, int x, int y0, int y1, int color) {
    if (p.scale == 1) {
        tint_vline(bmp, p.x(x), p.y(y0), p.y(y1), color);
        return;
    }
    const int top = p.top + std::min(y0, y1) * p.scale;
    const int bottom = p.top + last_of(p, y0, y1) + p.scale - 1;
    for (int k = 0; k < p.scale; ++k) tint_vline(bmp, p.x(x) + k, top, bottom, color);
}

// The picture text is drawn into before it is copied up: as deep as the target, as wide as the
// longest line asked for so far.
static BITMAP* scratch_for(BITMAP* target, int w, int h) {
    static BITMAP* scratch = nullptr;
    const int depth = bitmap_color_depth(target);
    if (scratch != nullptr &&
        (bitmap_color_depth(scratch) != depth || scratch->w < w || scratch->h < h)) {
        w = std::max(w, scratch->w);
        h = std::max(h, scratch->h);
        destroy_bitmap(scratch);
        scratch = nullptr;
    }
    if (scratch == nullptr) scratch = create_bitmap_ex(depth, std::max(w, 512), std::max(h, 16));
    return scratch;
}

void place_text(BITMAP* bmp, const OverlayPlace& p, const char* text, int x, int y, int color,
                Align align) {
    const int length = text_length(ui_font, text);
    const int left = align == Align::LEFT     ? x
                     : align == Align::CENTRE ? x - length / 2
                                              : x - length;
    if (p.scale == 1) {
        textout_ex(bmp, ui_font, text, p.x(left), p.y(y), color, -1);
        return;
    }
    const int height = text_height(ui_font);
    if (length <= 0 || height <= 0) return;
    BITMAP* scratch = scratch_for(bmp, length, height);
    // Without memory for the scratch picture the text is drawn at its own size.
    if (scratch == nullptr) {
        textout_ex(bmp, ui_font, text, p.x(left), p.y(y), color, -1);
        return;
    }
    rectfill(scratch, 0, 0, length - 1, height - 1, bitmap_mask_color(scratch));
    textout_ex(scratch, ui_font, text, 0, 0, color, -1);
    masked_stretch_blit(scratch, bmp, 0, 0, length, height, p.x(left), p.y(y), length * p.scale,
                        height * p.scale);
}
