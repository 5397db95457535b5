#include <allegro.h>
#include <gtest/gtest.h>

#include <cmath>

#include "render/glow.h"
#include "render/media.h"
#include "sim/world.h"
#include "tests/support.h"

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

static std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

class Glow : public ::testing::Test {
  protected:
    void SetUp() override {
        init_headless(32);
        clear_program_state();
        bmp = create_bitmap(SCREEN_W_PX, SCREEN_H_PX);
        clear_bitmap(bmp);
        swarms[1].color_red = 255;
        swarms[1].color_green = 200;
        swarms[1].color_blue = 0;
        // A kernel with distinct weights: 10 in the middle, fading outwards.
        for (int i = 0; i < 10; ++i) {
            for (int j = 0; j < 10; ++j) {
                const int d = std::abs(2 * i - 9) + std::abs(2 * j - 9);
                shine_kernel[i][j] = d > 18 ? 0 : 10 - d / 2 > 0 ? 10 - d / 2 : 0;
            }
        }
    }
    void TearDown() override { destroy_bitmap(bmp); }
    void draw() { draw_fireflies(bmp, low_detail); }
    Rgb at(int x, int y) const {
        const int p = getpixel(bmp, x, y);
        return {getr(p), getg(p), getb(p)};
    }
    static void place(int slot, float x, float y, float phase) {
        fireflies[slot] = Firefly{1.0f, x, y, 0, 0, 10, 0, 1, phase, 0, 0};
    }
    int changed_pixels() const {
        int n = 0;
        for (int y = 0; y < bmp->h; ++y) {
            for (int x = 0; x < bmp->w; ++x) n += getpixel(bmp, x, y) != 0;
        }
        return n;
    }
    BITMAP* bmp = nullptr;
    bool low_detail = false;
};

TEST_F(Glow, ThreeByThreePatternFollowsTheWorkedColours) {
    low_detail = 1;
    struct Case {
        float phase;
        Rgb core, edge, corner;
    } cases[] = {
        {0.0f, {127, 100, 0}, {79, 62, 0}, {39, 31, 0}},
        {1.0f, {234, 184, 0}, {146, 115, 0}, {73, 57, 0}},
        {1.5707964f, {255, 200, 0}, {159, 125, 0}, {79, 62, 0}},
        {4.0f, {31, 24, 0}, {19, 15, 0}, {9, 7, 0}},
    };
    for (const Case& c : cases) {
        clear_bitmap(bmp);
        place(0, 100, 100, c.phase);
        draw();
        EXPECT_EQ(changed_pixels(), 9) << c.phase;
        EXPECT_EQ(at(100, 100), c.core) << c.phase;
        for (auto [x, y] : {std::pair{101, 100}, {99, 100}, {100, 101}, {100, 99}}) {
            EXPECT_EQ(at(x, y), c.edge) << c.phase;
        }
        for (auto [x, y] : {std::pair{101, 101}, {99, 99}, {101, 99}, {99, 101}}) {
            EXPECT_EQ(at(x, y), c.corner) << c.phase;
        }
    }
}

TEST_F(Glow, ShineGlowScalesTheCoreByItsWeightsAroundTheFirefly) {
    place(0, 100.9f, 100.2f, 1.5707964f);
    draw();
    for (int y = 90; y < 110; ++y) {
        for (int x = 90; x < 110; ++x) {
            Rgb expected{0, 0, 0};
            if (x >= 95 && x <= 104 && y >= 95 && y <= 104) {
                const int k = shine_kernel[x - 95][y - 95];
                expected = {255 * k / 10, 200 * k / 10, 0};
            }
            EXPECT_EQ(at(x, y), expected) << x << ", " << y;
        }
    }
}

// Light adds up and saturates; white stays white; nothing spills into a neighbour channel.
TEST_F(Glow, LightSaturatesAndWhiteStaysWhite) {
    low_detail = 1;
    swarms[1].color_red = 200;
    swarms[1].color_green = 0;
    place(0, 300, 300, 1.5707964f);
    place(1, 300, 300, 1.5707964f);
    putpixel(bmp, 301, 300, makecol(255, 255, 255));
    draw();
    EXPECT_EQ(at(300, 300), (Rgb{255, 0, 0}));
    EXPECT_EQ(at(301, 300), (Rgb{255, 255, 255}));
    EXPECT_EQ(at(299, 300), (Rgb{250, 0, 0}));
}

TEST_F(Glow, OutOfRangeColoursAreClampedPerChannel) {
    low_detail = 1;
    swarms[1].color_red = 300;
    swarms[1].color_green = -5;
    swarms[1].color_blue = 1000000;
    place(0, 50, 50, 1.5707964f);
    draw();
    EXPECT_EQ(at(50, 50), (Rgb{255, 0, 255}));
    EXPECT_EQ(swarms[1].color_red, 300);  // the stored value stays
}

TEST_F(Glow, PositionsTruncateAndEdgesClip) {
    low_detail = 1;
    place(0, 0.7f, 0.7f, 1.5707964f);
    place(1, -0.5f, 10, 1.5707964f);
    draw();
    EXPECT_EQ(at(0, 0), (Rgb{255, 200, 0}));
    EXPECT_EQ(at(0, 10), (Rgb{255, 200, 0}));
    EXPECT_EQ(changed_pixels(), 4 + 6);
    // Nothing wraps to the other side.
    EXPECT_EQ(at(1023, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(at(0, 767), (Rgb{0, 0, 0}));

    clear_bitmap(bmp);
    low_detail = 0;
    place(0, 2, 2, 1.5707964f);
    place(1, 1e30f, -1e30f, 1.5707964f);  // far outside: draws nothing, and stays defined
    draw();
    for (int y = 0; y <= 6; ++y) {
        for (int x = 0; x <= 6; ++x) {
            const int k = shine_kernel[x + 3][y + 3];
            EXPECT_EQ(at(x, y), (Rgb{255 * k / 10, 200 * k / 10, 0}));
        }
    }
}

TEST_F(Glow, DarkAndFreeSlotsDrawNothing) {
    place(0, 100, 100, 4.712389f);  // sine -1: brightness 0
    place(1, 200, 200, 1.5707964f);
    fireflies[1].swarm = 0.0f;
    place(2, 300, 300, 1.5707964f);
    swarms[1].color_red = swarms[1].color_green = swarms[1].color_blue = 0;
    draw();
    EXPECT_EQ(changed_pixels(), 0);
}
