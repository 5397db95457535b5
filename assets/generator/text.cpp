#include <allegro.h>

#include <string>

#include "assets/generator/drawing.h"

// Renders text with Allegro's built-in 8x8 font into a mask, each font pixel becoming a
// scale x scale block (the font is tiny, titles need it larger).
static Mask text_mask(const std::string& text, int scale) {
    const int tw = text_length(font, text.c_str()), th = text_height(font);
    BITMAP* small = create_bitmap_ex(8, tw, th);
    clear_to_color(small, 0);
    textout_ex(small, font, text.c_str(), 0, 0, 1, -1);
    Mask m(tw * scale, th * scale);
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) m.at(x, y) = getpixel(small, x / scale, y / scale) ? 1 : 0;
    destroy_bitmap(small);
    return m;
}

void draw_text(Canvas& c, const std::string& text, int x, int y, int scale, const Rgb& colour) {
    const Mask m = text_mask(text, scale);
    paint_mask(c, m, x + scale / 2 + 1, y + scale / 2 + 1, Rgb{0, 0, 0}, 0.8, false);
    paint_mask(c, m, x, y, colour, 1.0, false);
}

void draw_glowing_text(Canvas& c, const std::string& text, int x, int y, int scale,
                       const Rgb& colour, const Rgb& halo) {
    const int pad = 16;
    const Mask glow = blurred(padded(text_mask(text, scale), pad), 4);
    paint_mask(c, glow, x - pad, y - pad, halo, 1.6, true);
    paint_mask(c, text_mask(text, scale), x, y, colour, 1.0, false);
}
