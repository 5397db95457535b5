#include "render/picture_file.h"

#include <allegro.h>
#include <png.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <vector>

void copy_rgb(BITMAP* bmp, uint8_t* rgb) {
    const int depth = bitmap_color_depth(bmp);
    uint8_t* p = rgb;
    for (int y = 0; y < bmp->h; ++y) {
        // A 32-bit memory bitmap's rows are read straight: this runs for every frame of a video.
        if (depth == 32 && is_memory_bitmap(bmp)) {
            const uint32_t* row = reinterpret_cast<const uint32_t*>(bmp->line[y]);
            for (int x = 0; x < bmp->w; ++x) {
                const int c = static_cast<int>(row[x]);
                *p++ = static_cast<uint8_t>(getr32(c));
                *p++ = static_cast<uint8_t>(getg32(c));
                *p++ = static_cast<uint8_t>(getb32(c));
            }
            continue;
        }
        for (int x = 0; x < bmp->w; ++x) {
            const int c = getpixel(bmp, x, y);
            *p++ = static_cast<uint8_t>(getr_depth(depth, c));
            *p++ = static_cast<uint8_t>(getg_depth(depth, c));
            *p++ = static_cast<uint8_t>(getb_depth(depth, c));
        }
    }
}

bool write_png(std::FILE* out, BITMAP* bmp, const std::string& chunk) {
    std::vector<uint8_t> rgb(static_cast<size_t>(bmp->w) * bmp->h * 3);
    copy_rgb(bmp, rgb.data());
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(bmp->w);
    image.height = static_cast<png_uint_32>(bmp->h);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    bool ok = png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr) != 0;
    std::vector<uint8_t> png(size);
    ok = ok && png_image_write_to_memory(&image, png.data(), &size, 0, rgb.data(), 0, nullptr) != 0;
    png_image_free(&image);
    // The signature (8 bytes) and the header chunk (25) come first; the text goes after them.
    constexpr size_t HEAD = 33;
    if (!ok || size < HEAD || std::memcmp(png.data() + 12, "IHDR", 4) != 0) return false;
    ok = std::fwrite(png.data(), 1, HEAD, out) == HEAD &&
         std::fwrite(chunk.data(), 1, chunk.size(), out) == chunk.size() &&
         std::fwrite(png.data() + HEAD, 1, size - HEAD, out) == size - HEAD;
    return ok && std::fflush(out) == 0 && !std::ferror(out);
}

bool write_png(std::FILE* out, BITMAP* bmp) { return write_png(out, bmp, ""); }

bool save_png(const char* path, BITMAP* bmp) {
    std::FILE* out = std::fopen(path, "wb");
    if (out == nullptr) return false;
    bool ok = write_png(out, bmp);
    ok = std::fclose(out) == 0 && ok;
    if (!ok) unlink(path);
    return ok;
}
