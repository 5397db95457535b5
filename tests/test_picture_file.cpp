#include <allegro.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include "render/picture_file.h"
#include "tests/support.h"
#include "ui/interface_state.h"
#include "ui/picture_request.h"
#include "ui/settings_file.h"

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

class PictureRequest : public ::testing::Test {
  protected:
    void SetUp() override {
        init_headless(32);
        clear_program_state();
        dir = make_temp_dir();
        path = dir + "/lmr.sav";
        settings_path = path.c_str();
        bmp = create_bitmap(64, 48);
        for (int y = 0; y < bmp->h; ++y) {
            for (int x = 0; x < bmp->w; ++x) putpixel(bmp, x, y, makecol(x * 4, y * 5, x * y));
        }
    }
    void TearDown() override {
        destroy_bitmap(bmp);
        settings_path = SETTINGS_FILE_NAME;
        std::system(("rm -rf '" + dir + "'").c_str());
    }
    // Asks for a picture and serves the request as the frame does.
    void take(BITMAP* picture) {
        picture_requested = 1;
        serve_picture_request(picture);
        EXPECT_EQ(picture_requested, 0);
    }
    bool exists(const std::string& name) const {
        return access((dir + "/" + name).c_str(), F_OK) == 0;
    }
    std::string dir, path;
    BITMAP* bmp = nullptr;
};

// Pictures go beside the settings file under the first free number; a name already taken,
// by a picture or anything else, is never written over.
TEST_F(PictureRequest, NumbersSkipTakenNamesAndNeverOverwrite) {
    serve_picture_request(bmp);
    EXPECT_FALSE(exists("lumora-0001.png")) << "nothing asked, nothing saved";
    write_file(dir + "/lumora-0001.png", "kept");
    write_file(dir + "/lumora-0003.png", "kept too");
    take(bmp);
    EXPECT_STREQ(status_text, "picture saved");
    EXPECT_EQ(read_file(dir + "/lumora-0002.png").substr(1, 3), "PNG");
    take(bmp);
    EXPECT_EQ(read_file(dir + "/lumora-0004.png").substr(1, 3), "PNG");
    EXPECT_EQ(read_file(dir + "/lumora-0001.png"), "kept");
    EXPECT_EQ(read_file(dir + "/lumora-0003.png"), "kept too");
}

// A picture that cannot be written says so and leaves no file, not even a part-written one.
TEST_F(PictureRequest, FailuresSayPictureFailedAndLeaveNoFile) {
    const std::string gone = dir + "/gone/lmr.sav";
    settings_path = gone.c_str();
    take(bmp);
    EXPECT_STREQ(status_text, "picture failed");

    settings_path = path.c_str();
    take(nullptr);  // nothing was drawn
    EXPECT_STREQ(status_text, "picture failed");
    EXPECT_FALSE(exists("lumora-0001.png"));

    // The file size limit stops the write after its name was taken.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved_limit;
    getrlimit(RLIMIT_FSIZE, &saved_limit);
    rlimit small = saved_limit;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    take(bmp);
    setrlimit(RLIMIT_FSIZE, &saved_limit);
    EXPECT_STREQ(status_text, "picture failed");
    EXPECT_FALSE(exists("lumora-0001.png"));
}
