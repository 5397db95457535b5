#include "render/picture_file.h"

#include <allegro.h>
#include <png.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

bool write_png(std::FILE* out, BITMAP* bmp) {
    const int depth = bitmap_color_depth(bmp);
    std::vector<uint8_t> rgb(static_cast<size_t>(bmp->w) * bmp->h * 3);
    uint8_t* p = rgb.data();
    for (int y = 0; y < bmp->h; ++y) {
        for (int x = 0; x < bmp->w; ++x) {
            const int c = getpixel(bmp, x, y);
            *p++ = static_cast<uint8_t>(getr_depth(depth, c));
            *p++ = static_cast<uint8_t>(getg_depth(depth, c));
            *p++ = static_cast<uint8_t>(getb_depth(depth, c));
        }
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(bmp->w);
    image.height = static_cast<png_uint_32>(bmp->h);
    image.format = PNG_FORMAT_RGB;
    const bool ok = png_image_write_to_stdio(&image, out, 0, rgb.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return ok && std::fflush(out) == 0 && !std::ferror(out);
}

bool save_png(const char* path, BITMAP* bmp) {
    std::FILE* out = std::fopen(path, "wb");
    if (out == nullptr) return false;
    bool ok = write_png(out, bmp);
    ok = std::fclose(out) == 0 && ok;
    if (!ok) unlink(path);
    return ok;
}
