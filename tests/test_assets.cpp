// Checks the committed media under assets/ for the properties the program relies on when it
// loads and draws them.

#include <allegro.h>
#include <dirent.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "sim/world.h"
#include "tests/support.h"
#include "ui/settings_file.h"

namespace {

const int kDepths[] = {16, 32};

std::string asset(const char* name) { return std::string(LUMORA_ASSETS_DIR) + "/" + name; }

struct BitmapDeleter {
    void operator()(BITMAP* b) const { destroy_bitmap(b); }
};
using Bitmap = std::unique_ptr<BITMAP, BitmapDeleter>;

Bitmap load(const char* name) {
    PALETTE pal;
    return Bitmap(load_bitmap(asset(name).c_str(), pal));
}

// Pixels equal to the mask colour are skipped by masked drawing, so a background must have
// none, also after conversion to 16 bits.
int mask_pixels(BITMAP* b) {
    int n = 0;
    for (int y = 0; y < b->h; ++y)
        for (int x = 0; x < b->w; ++x) n += getpixel(b, x, y) == bitmap_mask_color(b);
    return n;
}

TEST(Assets, BackgroundsLoadAndStayDark) {
    for (int depth : kDepths) {
        SCOPED_TRACE(depth);
        init_headless(depth);
        Bitmap wood = load("wood.bmp");
        ASSERT_TRUE(wood);
        EXPECT_EQ(bitmap_color_depth(wood.get()), depth);
        EXPECT_GE(wood->w, 512);
        EXPECT_GE(wood->h, 384);
        EXPECT_EQ(mask_pixels(wood.get()), 0);
        // Additive firefly light only shows on a dark floor.
        int dark = 0, varied = 0, first = getpixel(wood.get(), 0, 0);
        for (int y = 0; y < wood->h; ++y) {
            for (int x = 0; x < wood->w; ++x) {
                const int c = getpixel(wood.get(), x, y);
                dark += getr(c) < 100 && getg(c) < 100 && getb(c) < 100;
                varied += c != first;
            }
        }
        EXPECT_GT(dark, wood->w * wood->h * 9 / 10);
        EXPECT_GT(varied, wood->w * wood->h / 2);

        Bitmap title = load("title.bmp");
        ASSERT_TRUE(title);
        EXPECT_EQ(title->w, 1024);
        EXPECT_EQ(title->h, 768);
        EXPECT_EQ(mask_pixels(title.get()), 0);
    }
}

TEST(Assets, CursorsAreSmallWhiteOnBlack) {
    const char* names[] = {"c_att.bmp", "c_hill.bmp", "c_hole.bmp", "c_tr.bmp", "c_tl.bmp"};
    for (int depth : kDepths) {
        init_headless(depth);
        for (const char* name : names) {
            SCOPED_TRACE(std::string(name) + " at " + std::to_string(depth));
            Bitmap b = load(name);
            ASSERT_TRUE(b);
            ASSERT_EQ(b->w, 13);
            ASSERT_EQ(b->h, 13);
            // Corners transparent; enough visible pixels to read as a shape.
            int lit = 0;
            for (int y = 0; y < 13; ++y)
                for (int x = 0; x < 13; ++x) lit += getpixel(b.get(), x, y) != 0;
            for (int y : {0, 1, 11, 12})
                for (int x : {0, 1, 11, 12}) EXPECT_EQ(getpixel(b.get(), x, y), 0);
            EXPECT_GE(lit, 12);
            EXPECT_LE(lit, 13 * 13 / 2);
        }
        // The lure cursor leaves room for the coloured dots drawn around the hot spot.
        Bitmap lure = load("c_att.bmp");
        const int dots[][2] = {{-1, 0},  {1, 0},  {0, -1}, {0, 1},
                               {-3, -3}, {3, -3}, {-3, 3}, {3, 3}};
        for (const auto& d : dots) EXPECT_EQ(getpixel(lure.get(), 6 + d[0], 6 + d[1]), 0);
    }
}

TEST(Assets, ShineIsARoundGlow) {
    for (int depth : kDepths) {
        SCOPED_TRACE(depth);
        init_headless(depth);
        Bitmap b = load("shine.bmp");
        ASSERT_TRUE(b);
        ASSERT_GE(b->w, 10);
        ASSERT_GE(b->h, 10);
        auto weight = [&](int x, int y) {
            return static_cast<int>(getr(getpixel(b.get(), x, y)) / 25.0);
        };
        for (int x : {4, 5})
            for (int y : {4, 5}) EXPECT_EQ(weight(x, y), 10);
        for (int x : {0, 9})
            for (int y : {0, 9}) EXPECT_EQ(weight(x, y), 0);
        // Falls off from the middle along every row and column, symmetric about the centre.
        for (int i = 0; i < 10; ++i) {
            for (int j = 0; j < 4; ++j) {
                EXPECT_LE(weight(j, i), weight(j + 1, i));
                EXPECT_LE(weight(i, j), weight(i, j + 1));
            }
            for (int j = 0; j < 10; ++j) EXPECT_EQ(weight(j, i), weight(9 - j, 9 - i));
        }
    }
}

TEST(Assets, FontIsOneColourAndFitsTenPixelLines) {
    for (int depth : kDepths) {
        SCOPED_TRACE(depth);
        init_headless(depth);
        FONT* f = load_font(asset("myfont.pcx").c_str(), nullptr, nullptr);
        ASSERT_NE(f, nullptr);
        // A colour font would ignore the colour passed to the text functions.
        ASSERT_TRUE(is_mono_font(f));
        EXPECT_LE(text_height(f), 9);
        EXPECT_GE(text_height(f), 7);
        EXPECT_LE(get_font_range_begin(f, -1), 32);
        EXPECT_GE(get_font_range_end(f, -1), 126);

        Bitmap canvas(create_bitmap(16, 16));
        const int red = makecol(255, 0, 0);
        // Every printable character leaves ink, drawn in exactly the requested colour.
        for (int ch = 33; ch <= 126; ++ch) {
            clear_to_color(canvas.get(), 0);
            textprintf_ex(canvas.get(), f, 2, 2, red, -1, "%c", ch);
            int ink = 0, other = 0;
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 16; ++x) {
                    const int c = getpixel(canvas.get(), x, y);
                    ink += c == red;
                    other += c != red && c != 0;
                }
            }
            EXPECT_GT(ink, 0) << "character " << ch;
            EXPECT_EQ(other, 0) << "character " << ch;
        }
        EXPECT_GE(text_length(f, "A"), 5);
        EXPECT_EQ(text_length(f, "AAAA"), 4 * text_length(f, "A"));
        destroy_font(f);
    }
}

TEST(Assets, DefaultSettingsAreTenRecordsOfTwentyIntegers) {
    std::ifstream in(asset("lmr.sav"), std::ios::binary);
    ASSERT_TRUE(in);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int> v;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        ASSERT_NE(end, std::string::npos) << "last line lacks its newline";
        const std::string line = text.substr(start, end - start);
        ASSERT_FALSE(line.empty());
        ASSERT_EQ(line.find_first_not_of("-0123456789"), std::string::npos) << line;
        v.push_back(std::atoi(line.c_str()));
        start = end + 1;
    }
    ASSERT_EQ(v.size(), 200u);

    auto field = [&](int record, int f) { return v[record * 20 + f]; };
    int population = 0;
    for (int s = 1; s <= 9; ++s) {
        SCOPED_TRACE(s);
        population += field(s, 10);
        EXPECT_GE(field(s, 11), 1);
        EXPECT_LE(field(s, 11), 9);
        EXPECT_GE(field(s, 1), field(s, 2));  // highest speed not below lowest
        for (int c = 7; c <= 9; ++c) {
            EXPECT_GE(field(s, c), 0);
            EXPECT_LE(field(s, c), 255);
        }
        for (int f : {0, 13, 14, 15, 16, 17, 18, 19}) EXPECT_EQ(field(s, f), 0);
    }
    EXPECT_GE(population, 1500);
    EXPECT_LE(population, 2000);
    EXPECT_EQ(field(0, 10), 0);  // record 0 is no swarm
}

// The presets in presets/ are found by their number: at least six, named N-name.sav with N
// from 1 to 19 used once, each a whole table whose fireflies all fit in the table (presets 1 to
// 9 in the default one, the ones for big fields in the biggest) and whose swarms with members
// chase swarms with members, so each behaviour shows in full.
TEST(Assets, PresetsAreNumberedTablesThatFitTheProgram) {
    const std::string dir = asset("presets");
    DIR* folder = opendir(dir.c_str());
    ASSERT_NE(folder, nullptr);
    bool numbers[20] = {};
    int presets = 0;
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        if (name[0] == '.') continue;
        SCOPED_TRACE(name);
        ASSERT_TRUE(
            std::regex_match(name, std::regex("(1?[1-9]|10)-[a-z0-9]+(-[a-z0-9]+)*\\.sav")));
        const int number = std::stoi(name);
        EXPECT_FALSE(numbers[number]) << "a second preset with this number";
        numbers[number] = true;
        ++presets;

        std::FILE* in = std::fopen((dir + "/" + name).c_str(), "r");
        ASSERT_NE(in, nullptr);
        Swarm table[SWARM_COUNT];
        EXPECT_TRUE(read_settings(in, table));
        std::fclose(in);
        int population = 0;
        for (int s = 1; s < SWARM_COUNT; ++s) {
            population += table[s].population;
            const int t = table[s].target_swarm;
            if (table[s].population > 0) {
                ASSERT_TRUE(t >= 1 && t <= 9) << "swarm " << s;
                EXPECT_GT(table[t].population, 0) << "swarm " << s << " chases an empty swarm";
            }
        }
        EXPECT_GT(population, 0);
        EXPECT_LE(population, number <= 9 ? MAX_FIREFLIES : FIREFLIES_MOST);
    }
    closedir(folder);
    EXPECT_GE(presets, 6);
}

}  // namespace
