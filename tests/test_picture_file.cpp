#include <allegro.h>
#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <vector>

#include "render/picture_file.h"
#include "tests/support.h"

// A picture saved as PNG reads back with the colours the library gives its pixels, at every
// depth; a place that cannot be written fails and leaves nothing behind.
TEST(PictureFile, PngKeepsEveryPixelAndFailsCleanly) {
    const std::string dir = make_temp_dir();
    for (int depth : {15, 16, 24, 32}) {
        init_headless(depth);
        BITMAP* bmp = create_bitmap(37, 11);
        for (int y = 0; y < bmp->h; ++y) {
            for (int x = 0; x < bmp->w; ++x) putpixel(bmp, x, y, makecol(x * 7, y * 23, 255 - x));
        }
        const std::string path = dir + "/p.png";
        ASSERT_TRUE(save_png(path.c_str(), bmp)) << depth;

        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << depth;
        image.format = PNG_FORMAT_RGB;
        std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
        ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
        ASSERT_EQ(image.width, 37u);
        ASSERT_EQ(image.height, 11u);
        int differing = 0;
        for (int y = 0; y < bmp->h; ++y) {
            for (int x = 0; x < bmp->w; ++x) {
                const int c = getpixel(bmp, x, y);
                const uint8_t* p = &rgb[(y * 37 + x) * 3];
                differing += p[0] != getr(c) || p[1] != getg(c) || p[2] != getb(c);
            }
        }
        EXPECT_EQ(differing, 0) << depth;
        EXPECT_FALSE(save_png((dir + "/missing/p.png").c_str(), bmp));
        destroy_bitmap(bmp);
    }
    init_headless(32);
    std::system(("rm -rf '" + dir + "'").c_str());
}
