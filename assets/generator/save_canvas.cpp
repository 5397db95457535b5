#include <allegro.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "assets/generator/drawing.h"
#include "render/picture_file.h"

static int channel(double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); }

// Converts a canvas to a 24-bit Allegro bitmap. Pure magenta is Allegro's mask colour, which
// the program skips when drawing, so such a pixel is nudged to a neighbouring colour.
static BITMAP* to_bitmap(const Canvas& c) {
    BITMAP* bmp = create_bitmap_ex(24, c.w, c.h);
    for (int y = 0; y < c.h; ++y) {
        for (int x = 0; x < c.w; ++x) {
            const Rgb& p = c.px[y * c.w + x];
            int r = channel(p.r), g = channel(p.g), b = channel(p.b);
            if (r >= 248 && g < 8 && b >= 248) g = 8;  // stays clear of magenta even at 16 bpp
            putpixel(bmp, x, y, makecol24(r, g, b));
        }
    }
    return bmp;
}

bool save_canvas(const Canvas& c, const std::string& path) {
    BITMAP* bmp = to_bitmap(c);
    const bool ok = save_bmp(path.c_str(), bmp, nullptr) == 0;
    destroy_bitmap(bmp);
    if (!ok) std::fprintf(stderr, "make-assets: cannot write %s\n", path.c_str());
    return ok;
}

bool save_canvas_png(const Canvas& c, const std::string& path) {
    BITMAP* bmp = to_bitmap(c);
    const bool ok = save_png(path.c_str(), bmp);
    destroy_bitmap(bmp);
    if (!ok) std::fprintf(stderr, "make-assets: cannot write %s\n", path.c_str());
    return ok;
}

bool save_text(const std::string& text, const std::string& path) {
    std::FILE* out = std::fopen(path.c_str(), "w");
    bool ok = out != nullptr && std::fwrite(text.data(), 1, text.size(), out) == text.size();
    if (out != nullptr) ok = std::fclose(out) == 0 && ok;
    if (!ok) std::fprintf(stderr, "make-assets: cannot write %s\n", path.c_str());
    return ok;
}
