// What the synchrony graph and the help draw over the fireflies, and the dimming beneath them.
#include <allegro.h>
#include <gtest/gtest.h>

#include "app/shell.h"
#include "render/help_overlay.h"
#include "render/sync_graph.h"
#include "sim/world.h"
#include "tests/support.h"

// At every depth the help dims its box, and only its box, to a quarter of each channel, and its
// text keeps off the rows just inside the frame.
TEST(Overlay, HelpDimsItsBoxToAQuarterAtEveryDepth) {
    init_headless(32);
    const char* failed = nullptr;
    ASSERT_TRUE(load_startup_media(LUMORA_ASSETS_DIR, failed)) << failed;
    for (int depth : {15, 16, 24, 32}) {
        init_headless(depth);
        BITMAP* bmp = create_bitmap(SCREEN_W_PX, SCREEN_H_PX);
        const int bright = makecol(200, 120, 255);
        clear_to_color(bmp, bright);
        draw_help(bmp);
        EXPECT_EQ(getpixel(bmp, HELP_LEFT - 1, HELP_TOP), bright) << depth;
        EXPECT_EQ(getpixel(bmp, HELP_RIGHT, HELP_BOTTOM + 1), bright) << depth;
        for (int x = HELP_LEFT + 1; x < HELP_RIGHT; x += 7) {
            for (int y : {HELP_TOP + 1, HELP_BOTTOM - 1}) {
                const int c = getpixel(bmp, x, y);
                ASSERT_NEAR(getr(c), 50, 8) << depth;
                ASSERT_NEAR(getg(c), 30, 8) << depth;
                ASSERT_NEAR(getb(c), 64, 8) << depth;
            }
        }
        destroy_bitmap(bmp);
    }
    init_headless(32);
}

// Each swarm with members draws its order in its colour at the height it had, the latest frame
// in the right column; a swarm without members draws nothing.
TEST(Overlay, GraphDrawsEachPopulatedSwarmAtItsOrder) {
    init_headless(32);
    clear_program_state();
    const char* failed = nullptr;
    ASSERT_TRUE(load_startup_media(LUMORA_ASSETS_DIR, failed)) << failed;
    OrderHistory history{};
    for (int f = 0; f < 250; ++f) {
        Synchrony m{};
        m.swarm[2].order = 1.0;
        m.swarm[5].order = f < 200 ? 0.0 : 0.5;
        m.swarm[7].order = 0.25;
        record_order(history, m);
    }
    Synchrony now{};
    now.swarm[2].population = now.swarm[5].population = 10;
    swarms[2].color_red = 999;  // clamped, as everywhere a colour is drawn
    swarms[5].color_blue = 255;
    swarms[7].color_green = 255;
    BITMAP* bmp = create_bitmap(SCREEN_W_PX, SCREEN_H_PX);
    clear_to_color(bmp, makecol(200, 200, 200));
    draw_sync_graph(bmp, history, now);

    const int right = GRAPH_CHART_LEFT + GRAPH_CHART_W - 1;
    const int bottom = GRAPH_CHART_TOP + GRAPH_CHART_H - 1;
    const int red = makecol(255, 0, 0), blue = makecol(0, 0, 255);
    EXPECT_EQ(getpixel(bmp, right - 124, GRAPH_CHART_TOP), red) << "250 frames, two a column";
    EXPECT_NE(getpixel(bmp, right - 126, GRAPH_CHART_TOP), red);
    EXPECT_EQ(getpixel(bmp, right - 5, bottom - 50), blue);
    EXPECT_EQ(getpixel(bmp, right - 40, bottom), blue);
    for (int y = GRAPH_CHART_TOP; y <= bottom; ++y) {
        for (int x = GRAPH_CHART_LEFT; x <= right; ++x) {
            ASSERT_NE(getpixel(bmp, x, y), makecol(0, 255, 0)) << "swarm 7 has no members";
        }
    }
    destroy_bitmap(bmp);
}
