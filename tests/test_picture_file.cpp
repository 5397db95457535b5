#include <allegro.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <string>
#include <vector>

#include "files/picture_swarms.h"
#include "render/picture_file.h"
#include "tests/support.h"
#include "ui/file_requests.h"
#include "ui/folders.h"
#include "ui/interface_state.h"
#include "ui/session.h"
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

// A picture's swarms round-trip through its text chunk: the table, the seed and the frame come
// back, lines a later program adds are passed over, and the picture's other bytes are those of
// the same picture without the chunk. A picture without the chunk, a damaged chunk and a broken
// table are refused, saying what is wrong.
TEST(PictureFile, SwarmsRoundTripThroughTheTextChunk) {
    init_headless(32);
    const std::string dir = make_temp_dir();
    BITMAP* bmp = create_bitmap(40, 30);
    for (int y = 0; y < bmp->h; ++y) {
        for (int x = 0; x < bmp->w; ++x) putpixel(bmp, x, y, makecol(x * 6, y * 8, 90));
    }
    PictureSwarms kept;
    for (int r = 0; r < SWARM_COUNT; ++r) {
        for (int f = 0; f < SWARM_FIELDS; ++f) swarm_field(kept.table[r], f) = r * 100 + f - 7;
    }
    swarm_field(kept.table[3], 5) = INT32_MIN;
    swarm_field(kept.table[9], 19) = INT32_MAX;
    kept.seed = 4294967295u;
    kept.frame = 1234;
    // Lines a later program adds, which this one must pass over.
    kept.field_w = 1920;
    kept.field_h = 1080;
    kept.capacity = 8000;
    const std::string text = format_picture_swarms(kept) + "tilt 3 degrees\n";
    const auto write = [&](const std::string& name, const std::string* chunk) {
        std::FILE* out = std::fopen((dir + "/" + name).c_str(), "wb");
        EXPECT_TRUE(chunk == nullptr ? write_png(out, bmp) : write_png(out, bmp, *chunk));
        std::fclose(out);
        return read_file(dir + "/" + name);
    };
    const std::string chunk = png_text_chunk(PICTURE_SWARMS_KEYWORD, text);
    const std::string with = write("with.png", &chunk), plain = write("plain.png", nullptr);
    ASSERT_EQ(with.size(), plain.size() + chunk.size());
    EXPECT_EQ(with.substr(0, 33) + with.substr(33 + chunk.size()), plain);

    PictureSwarms back;
    std::string error;
    ASSERT_TRUE(find_picture_swarms(with, back, error)) << error;
    EXPECT_EQ(std::memcmp(back.table, kept.table, sizeof kept.table), 0);
    EXPECT_EQ(back.seed, kept.seed);
    EXPECT_EQ(back.frame, kept.frame);
    Swarm table[SWARM_COUNT] = {};
    ASSERT_TRUE(read_picture_swarms_file((dir + "/with.png").c_str(), table, error)) << error;
    EXPECT_EQ(std::memcmp(table, kept.table, sizeof table), 0);
    EXPECT_TRUE(is_picture_file((dir + "/with.png").c_str()));

    const auto refused = [&](const std::string& png, const char* what) {
        PictureSwarms unchanged;
        std::string why;
        EXPECT_FALSE(find_picture_swarms(png, unchanged, why)) << what;
        EXPECT_NE(why.find(what), std::string::npos) << why;
    };
    refused(plain, "holds no swarms");
    std::string damaged = with;
    damaged[33 + 40] ^= 1;
    refused(damaged, "fails its check");
    refused(with.substr(0, 100), "cut short");
    refused("GIF89a", "is not a PNG picture");
    std::string missing = text;
    missing.erase(missing.find("swarm 4 "), missing.find("swarm 5 ") - missing.find("swarm 4 "));
    refused(
        plain.substr(0, 33) + png_text_chunk(PICTURE_SWARMS_KEYWORD, missing) + plain.substr(33),
        "swarm 4 is missing");
    std::string bad = text;
    bad.replace(bad.find("swarm 2 ") + 8, 1, "x");
    refused(plain.substr(0, 33) + png_text_chunk(PICTURE_SWARMS_KEYWORD, bad) + plain.substr(33),
            "line 7: swarm 2: value 0");
    EXPECT_FALSE(read_picture_swarms_file((dir + "/plain.png").c_str(), table, error));
    EXPECT_EQ(error, dir +
                         "/plain.png: the picture holds no swarms: it has no lumora-swarms "
                         "text (pictures F12 keeps have one)");
    destroy_bitmap(bmp);
    std::system(("rm -rf '" + dir + "'").c_str());
}

// F12's picture goes beside the settings file under the first free number, which the status
// line names, and never over a taken name; one that cannot be written says so and leaves no
// file, not even a part of one.
TEST(PictureRequest, FirstFreeNumberBesideTheSettingsOrNothing) {
    init_headless(32);
    clear_program_state();
    const std::string dir = make_temp_dir();
    const std::string path = dir + "/lmr.sav", gone = dir + "/gone/lmr.sav";
    BITMAP* bmp = create_bitmap(64, 48);
    for (int y = 0; y < bmp->h; ++y) {
        for (int x = 0; x < bmp->w; ++x) putpixel(bmp, x, y, makecol(x * 4, y * 5, x * y));
    }
    const auto take = [&](const std::string& settings, BITMAP* picture) {
        file_places.settings_path = settings;
        file_requests.picture = true;
        serve_file_requests(FileMoment::DRAWN, picture);
        EXPECT_FALSE(file_requests.picture);
        return std::string(status_text);
    };
    const auto exists = [&](const char* name) { return access((dir + name).c_str(), F_OK) == 0; };

    write_file(dir + "/lumora-0001.png", "kept");
    write_file(dir + "/lumora-0003.png", "kept too");
    EXPECT_EQ(take(path, bmp), "saved lumora-0002.png");
    EXPECT_EQ(read_file(dir + "/lumora-0002.png").substr(1, 3), "PNG");
    EXPECT_EQ(take(path, bmp), "saved lumora-0004.png");
    EXPECT_TRUE(exists("/lumora-0004.png"));
    EXPECT_EQ(read_file(dir + "/lumora-0001.png") + read_file(dir + "/lumora-0003.png"),
              "keptkept too");

    std::system(("rm '" + dir + "'/lumora-*").c_str());
    EXPECT_EQ(take(gone, bmp), "picture failed");
    EXPECT_EQ(take(path, nullptr), "picture failed") << "nothing was drawn";
    // The file size limit stops the write after the name was taken.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved_limit;
    getrlimit(RLIMIT_FSIZE, &saved_limit);
    rlimit small = saved_limit;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_EQ(take(path, bmp), "picture failed");
    setrlimit(RLIMIT_FSIZE, &saved_limit);
    EXPECT_FALSE(exists("/lumora-0001.png"));

    // An installed program keeps pictures in the user's picture folder, made on the first one.
    const std::string pictures = dir + "/Pictures/lumora";
    file_places.picture_dir = pictures;
    EXPECT_EQ(take(path, bmp), "saved lumora-0001.png");
    EXPECT_TRUE(exists("/Pictures/lumora/lumora-0001.png"));

    clear_program_state();
    destroy_bitmap(bmp);
    std::system(("rm -rf '" + dir + "'").c_str());
}

// F12 and F9 killed while their file is written (the file size limit's signal ends the process
// in the middle of a write) leave no cut file under a kept name: a name that exists holds a
// whole picture or replay.
TEST(PictureRequest, KilledWritesLeaveNoCutFileUnderItsName) {
    init_headless(32);
    clear_program_state();
    const std::string dir = make_temp_dir(), settings = dir + "/lmr.sav";
    file_places.settings_path = settings;
    BITMAP* bmp = create_bitmap(128, 96);
    for (int y = 0; y < bmp->h; ++y) {
        for (int x = 0; x < bmp->w; ++x) putpixel(bmp, x, y, makecol(x * 7, y * 13, x * y));
    }
    for (const bool replay : {false, true}) {
        const pid_t child = fork();
        if (child == 0) {
            const rlimit small{300, 300};
            setrlimit(RLIMIT_FSIZE, &small);
            std::signal(SIGXFSZ, SIG_DFL);
            if (replay) {
                keep_session();
                file_requests.replay = true;
                serve_file_requests(FileMoment::DONE);
            } else {
                file_requests.picture = true;
                serve_file_requests(FileMoment::DRAWN, bmp);
            }
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << replay;
        EXPECT_EQ(names_starting(dir, "lumora-"), std::vector<std::string>()) << replay;
    }
    clear_program_state();
    destroy_bitmap(bmp);
    std::system(("rm -rf '" + dir + "'").c_str());
}
