// What the synchrony graph and the help draw over the fireflies, and the dimming beneath them.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/shell.h"
#include "render/help_overlay.h"
#include "render/shade.h"
#include "render/sync_graph.h"
#include "sim/world.h"
#include "tests/support.h"

// Every channel drops to a quarter, as far as the depth can tell, inside the box only; a box
// reaching beyond the bitmap dims the part inside.
TEST(Shade, QuartersEveryChannelInsideTheBoxAtEveryDepth) {
    for (int depth : {15, 16, 24, 32}) {
        init_headless(depth);
        BITMAP* bmp = create_bitmap(20, 10);
        const int bright = makecol(200, 120, 255);
        clear_to_color(bmp, bright);
        darken_box(bmp, 5, 2, 40, 6);
        for (int y = 0; y < bmp->h; ++y) {
            for (int x = 0; x < bmp->w; ++x) {
                const int c = getpixel(bmp, x, y);
                if (x < 5 || y < 2 || y > 6) {
                    ASSERT_EQ(c, bright) << depth << " " << x << "," << y;
                    continue;
                }
                EXPECT_NEAR(getr(c), 50, 8) << depth;
                EXPECT_NEAR(getg(c), 30, 8) << depth;
                EXPECT_NEAR(getb(c), 64, 8) << depth;
            }
        }
        destroy_bitmap(bmp);
    }
    init_headless(32);
}

class Overlay : public ::testing::Test {
  protected:
    void SetUp() override {
        init_headless(32);
        clear_program_state();
        const char* failed = nullptr;
        ASSERT_TRUE(load_startup_media(LUMORA_ASSETS_DIR, failed)) << failed;
        bmp = create_bitmap(SCREEN_W_PX, SCREEN_H_PX);
        clear_to_color(bmp, background());
    }
    void TearDown() override { destroy_bitmap(bmp); }
    static int background() { return makecol(200, 200, 200); }
    // The smallest box holding every pixel that is no longer the background.
    void changed_box(int& x0, int& y0, int& x1, int& y1) const {
        x0 = y0 = 1 << 20;
        x1 = y1 = -1;
        for (int y = 0; y < bmp->h; ++y) {
            for (int x = 0; x < bmp->w; ++x) {
                if (getpixel(bmp, x, y) == background()) continue;
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
        }
    }
    BITMAP* bmp = nullptr;
};

// Each swarm with members draws its order in its colour at the height it had, the latest
// frame on the right; a swarm without members draws nothing; all of it stays in the box,
// above the status line.
TEST_F(Overlay, GraphDrawsEachPopulatedSwarmAtItsOrder) {
    OrderHistory history{};
    Synchrony now{};
    for (int f = 0; f < 250; ++f) {
        Synchrony m{};
        m.swarm[2].order = 1.0;
        m.swarm[5].order = f < 200 ? 0.0 : 0.5;
        m.swarm[7].order = 0.25;
        record_order(history, m);
    }
    now.swarm[2].population = 10;
    now.swarm[5].population = 10;
    swarms[2] = Swarm{};
    swarms[2].color_red = 999;  // clamped, as everywhere a colour is drawn
    swarms[5].color_blue = 255;
    swarms[5].target_swarm = 2;
    swarms[7].color_green = 255;
    draw_sync_graph(bmp, history, now);

    const int right = GRAPH_CHART_LEFT + GRAPH_CHART_W - 1;
    const int bottom = GRAPH_CHART_TOP + GRAPH_CHART_H - 1;
    const int red = makecol(255, 0, 0), blue = makecol(0, 0, 255);
    EXPECT_EQ(getpixel(bmp, right, GRAPH_CHART_TOP), red);
    EXPECT_EQ(getpixel(bmp, right - 124, GRAPH_CHART_TOP), red) << "250 frames, two a column";
    EXPECT_NE(getpixel(bmp, right - 126, GRAPH_CHART_TOP), red);
    EXPECT_EQ(getpixel(bmp, right - 5, bottom - 50), blue);
    EXPECT_EQ(getpixel(bmp, right - 40, bottom), blue);
    std::set<int> colours;
    for (int y = 0; y < bmp->h; ++y) {
        for (int x = 0; x < bmp->w; ++x) colours.insert(getpixel(bmp, x, y));
    }
    EXPECT_EQ(colours.count(makecol(0, 255, 0)), 0u) << "swarm 7 has no members";

    int x0, y0, x1, y1;
    changed_box(x0, y0, x1, y1);
    EXPECT_EQ(x0, GRAPH_LEFT);
    EXPECT_EQ(y0, GRAPH_TOP);
    EXPECT_EQ(x1, GRAPH_RIGHT);
    EXPECT_EQ(y1, GRAPH_BOTTOM);
    EXPECT_LT(GRAPH_BOTTOM, 757) << "the status line's text starts at row 758";
}

// The help dims its box and writes every line inside it, leaving the rest of the picture.
TEST_F(Overlay, HelpStaysInItsBoxInTheMiddle) {
    draw_help(bmp);
    int x0, y0, x1, y1;
    changed_box(x0, y0, x1, y1);
    EXPECT_EQ(x0, HELP_LEFT);
    EXPECT_EQ(y0, HELP_TOP);
    EXPECT_EQ(x1, HELP_RIGHT);
    EXPECT_EQ(y1, HELP_BOTTOM);
    EXPECT_NEAR((HELP_LEFT + HELP_RIGHT) / 2, SCREEN_W_PX / 2, 2);
    EXPECT_NEAR((HELP_TOP + HELP_BOTTOM) / 2, SCREEN_H_PX / 2, 20);
    // The text keeps a margin from the frame on every side: the rows and columns just inside
    // it are only dimmed.
    const int dim = makecol(50, 50, 50);
    for (int x = HELP_LEFT + 1; x < HELP_RIGHT; ++x) {
        ASSERT_EQ(getpixel(bmp, x, HELP_TOP + 1), dim) << x;
        ASSERT_EQ(getpixel(bmp, x, HELP_BOTTOM - 1), dim) << x;
    }
    for (int y = HELP_TOP + 1; y < HELP_BOTTOM; ++y) {
        ASSERT_EQ(getpixel(bmp, HELP_RIGHT - 1, y), dim) << y;
    }
}
