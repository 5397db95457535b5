// What the synchrony graph and the help draw over the fireflies, and the dimming beneath them.
#include <allegro.h>
#include <gtest/gtest.h>

#include "app/shell.h"
#include "render/help_overlay.h"
#include "render/overlay_place.h"
#include "render/panel.h"
#include "render/shade.h"
#include "render/status_line.h"
#include "render/sync_graph.h"
#include "sim/world.h"
#include "tests/support.h"

// At every depth the help dims its box, and only its box, to a quarter of each channel, and its
// text keeps off the rows just inside the frame; a graph's band tints its pixels, and only
// them, halfway towards its colour.
TEST(Overlay, HelpDimsAndBandsTintAtEveryDepth) {
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
        tint_vline(bmp, 5, 30, 10, makecol(0, 250, 0));
        for (int y = 10; y <= 30; ++y) {
            const int c = getpixel(bmp, 5, y);
            ASSERT_NEAR(getr(c), 100, 8) << depth;
            ASSERT_NEAR(getg(c), 185, 8) << depth;
            ASSERT_NEAR(getb(c), 128, 8) << depth;
        }
        EXPECT_EQ(getpixel(bmp, 5, 31), bright) << depth;
        EXPECT_EQ(getpixel(bmp, 4, 20), bright) << depth;
        destroy_bitmap(bmp);
    }
    init_headless(32);
}

// Each swarm with members draws, in its colour, the mean of its order as a line over a light
// band spanning the range of the frames in a column: a swing shows as a band, not a comb. The
// latest frame is in the right column; a swarm without members draws nothing.
TEST(Overlay, GraphDrawsEachSwarmAsItsMeanOverItsRange) {
    init_headless(32);
    clear_program_state();
    const char* failed = nullptr;
    ASSERT_TRUE(load_startup_media(LUMORA_ASSETS_DIR, failed)) << failed;
    OrderHistory history{};
    for (int f = 0; f < 250; ++f) {
        Synchrony m{};
        m.swarm[2].order = 1.0;
        m.swarm[5].order = f % 3 == 0 ? 0.2 : 0.65;  // a swing every three frames, mean 0.5
        m.swarm[7].order = 0.25;
        record_order(history, m);
    }
    Synchrony now{};
    now.swarm[2].population = now.swarm[5].population = 10;
    swarms[2].color_red = 999;  // clamped, as everywhere a colour is drawn
    swarms[5].color_blue = 255;
    swarms[7].color_green = 255;
    BITMAP* bmp = create_bitmap(SCREEN_W_PX, SCREEN_H_PX);
    const int grey = makecol(200, 200, 200);
    clear_to_color(bmp, grey);
    draw_sync_graph(bmp, history, now);

    const int right = GRAPH_CHART_LEFT + GRAPH_CHART_W - 1;
    const int bottom = GRAPH_CHART_TOP + GRAPH_CHART_H - 1;
    const int red = makecol(255, 0, 0), blue = makecol(0, 0, 255);
    const int box = getpixel(bmp, right - 200, bottom - 80);  // darkened, nothing drawn there
    EXPECT_EQ(getpixel(bmp, right - 124, GRAPH_CHART_TOP), red) << "250 frames, two a column";
    EXPECT_NE(getpixel(bmp, right - 126, GRAPH_CHART_TOP), red);
    for (int x = right - 120; x <= right; x += 10) {
        EXPECT_EQ(getpixel(bmp, x, bottom - 50), blue) << x;
        for (int order : {22, 35, 62}) {
            const int band = getpixel(bmp, x, bottom - order);
            EXPECT_NE(band, blue) << x << " " << order;
            EXPECT_GT(getb(band), getb(box) + 30) << x << " " << order;
        }
        EXPECT_EQ(getpixel(bmp, x, bottom - 68), box) << "above the band " << x;
        EXPECT_EQ(getpixel(bmp, x, bottom - 17), box) << "below the band " << x;
    }
    for (int y = GRAPH_CHART_TOP; y <= bottom; ++y) {
        for (int x = GRAPH_CHART_LEFT; x <= right; ++x) {
            const int c = getpixel(bmp, x, y);
            ASSERT_FALSE(getg(c) > getr(c) && getg(c) > getb(c)) << "swarm 7 has no members";
        }
    }
    destroy_bitmap(bmp);
}

// On a big field every overlay is its 1024 by 768 picture made twice or three times larger,
// pixel for pixel, kept to its corner: the panel top left, the graph bottom right, the help in
// the middle, the status line at the bottom in the middle.
TEST(Overlay, BigFieldsDrawTheLayoutLargerAtItsCorners) {
    EXPECT_EQ(overlay_scale(240), 1);
    EXPECT_EQ(overlay_scale(768), 1);
    EXPECT_EQ(overlay_scale(1535), 1);
    EXPECT_EQ(overlay_scale(1536), 2);
    EXPECT_EQ(overlay_scale(2160), 2);
    EXPECT_EQ(overlay_scale(2304), 3);
    EXPECT_EQ(overlay_scale(4320), 5);

    init_headless(32);
    clear_program_state();
    const char* failed = nullptr;
    ASSERT_TRUE(load_startup_media(LUMORA_ASSETS_DIR, failed)) << failed;
    OrderHistory history{};
    for (int f = 0; f < 300; ++f) {
        Synchrony m{};
        m.swarm[1].order = f % 3 == 0 ? 0.3 : 0.8;
        record_order(history, m);
    }
    Synchrony now{};
    now.swarm[1].population = 10;
    now.swarm[1].order = 0.61;
    swarms[1].color_red = 255;
    swarms[1].target_swarm = 2;
    // Each overlay alone over a background of stripes, so that dimming and tinting show; the
    // stripes are as many times wider as the overlay, from its top.
    auto draw = [&](int w, int h, int scale, int which, int top) {
        BITMAP* bmp = create_bitmap(w, h);
        for (int y = 0; y < h; ++y)
            hline(bmp, 0, y, w - 1,
                  makecol(40 + (y - top + 7000 * scale) / scale % 7 * 20, 200, 90));
        if (which == 0) draw_panel(bmp, 1, 4, scale);
        if (which == 1) draw_sync_graph(bmp, history, now, scale);
        if (which == 2) draw_help(bmp, scale);
        if (which == 3) draw_status_line(bmp, "saved 9 swarms to lmr.sav", scale);
        return bmp;
    };
    struct Corner {
        int right, bottom;  // 0 left or top, 1 right or bottom, 2 the middle
    };
    const Corner corners[4] = {{0, 0}, {1, 1}, {2, 2}, {2, 1}};
    for (int which = 0; which < 4; ++which) {
        BITMAP* small = draw(SCREEN_W_PX, SCREEN_H_PX, 1, which, 0);
        for (int scale : {2, 3}) {
            // A field wider and higher than the layout at this scale, with odd margins.
            const int w = SCREEN_W_PX * scale + 242, h = SCREEN_H_PX * scale + 106;
            const Corner c = corners[which];
            const int left = c.right == 0 ? 0 : c.right == 1 ? 242 : 121;
            const int top = c.bottom == 0 ? 0 : c.bottom == 1 ? 106 : 53;
            BITMAP* big = draw(w, h, scale, which, top);
            for (int y = 0; y < SCREEN_H_PX; ++y) {
                for (int x = 0; x < SCREEN_W_PX; ++x) {
                    const int want = getpixel(small, x, y);
                    const int bx = left + x * scale + (x + y) % scale;
                    const int by = top + y * scale + (x * y) % scale;
                    ASSERT_EQ(getpixel(big, bx, by), want)
                        << "overlay " << which << " at scale " << scale << ", (" << x << ", " << y
                        << ")";
                }
            }
            destroy_bitmap(big);
        }
        destroy_bitmap(small);
    }
}
