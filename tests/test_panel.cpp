#include <allegro.h>
#include <gtest/gtest.h>

#include <vector>

#include "app/shell.h"
#include "render/media.h"
#include "render/panel.h"
#include "sim/world.h"
#include "tests/support.h"

class Panel : public ::testing::Test {
  protected:
    void SetUp() override {
        init_headless(32);
        clear_program_state();
        const char* failed = nullptr;
        ASSERT_TRUE(load_startup_media(LUMORA_ASSETS_DIR, failed)) << failed;
        bmp = create_bitmap(SCREEN_W_PX, SCREEN_H_PX);
        clear_bitmap(bmp);
        swarms[3].population = 250;
        swarms[3].color_red = 10;
        swarms[3].color_green = 200;
        swarms[3].color_blue = 30;
        swarms[3].target_swarm = 5;
        swarms[5].color_red = 250;
        swarms[5].color_green = 40;
        swarms[5].color_blue = 0;
    }
    void TearDown() override { destroy_bitmap(bmp); }
    // The panel of swarm 3 with `row` on the bar.
    void draw(int row = 0) { draw_panel(bmp, 3, row); }
    // Rows of column x that hold the colour c.
    std::vector<int> rows_of(int x, int c) const {
        std::vector<int> rows;
        for (int y = 0; y < 150; ++y) {
            if (getpixel(bmp, x, y) == c) rows.push_back(y);
        }
        return rows;
    }
    // Whether any white text pixel lies in the rows y to y + 9 right of the frame's edge.
    bool text_in_line(int y) const {
        for (int yy = y; yy < y + 10; ++yy) {
            for (int x = 8; x < 200; ++x) {
                if (getpixel(bmp, x, yy) == makecol(255, 255, 255)) return true;
            }
        }
        return false;
    }
    BITMAP* bmp = nullptr;
};

TEST_F(Panel, BarFollowsTheSelectedRow) {
    const int grey = makecol(100, 100, 100);
    for (int row : {0, 5, 11}) {
        clear_bitmap(bmp);
        draw(row);
        const std::vector<int> rows = rows_of(199, grey);
        ASSERT_EQ(rows.size(), 9u) << row;
        EXPECT_EQ(rows.front(), (row + 1) * 10);
        EXPECT_EQ(rows.back(), (row + 1) * 10 + 8);
        EXPECT_EQ(getpixel(bmp, 201, (row + 1) * 10), 0) << "the bar is 201 pixels wide";
    }
}

TEST_F(Panel, FrameAndTargetBoxTakeTheSwarmColours) {
    draw();
    const int own = makecol(10, 200, 30);
    const int target = makecol(250, 40, 0);
    EXPECT_EQ(getpixel(bmp, 0, 2), own);
    EXPECT_EQ(getpixel(bmp, 200, 138), own);
    EXPECT_EQ(getpixel(bmp, 100, 138), own);
    EXPECT_EQ(getpixel(bmp, 100, 139), 0);
    EXPECT_EQ(getpixel(bmp, 210, 70), target);
    EXPECT_EQ(getpixel(bmp, 220, 2), target);
    EXPECT_EQ(getpixel(bmp, 215, 70), 0) << "the box is not filled";
    for (int line = 0; line < 12; ++line) EXPECT_TRUE(text_in_line((line + 1) * 10)) << line;
    EXPECT_FALSE(text_in_line(140));

    // Changing the target changes only the box.
    BITMAP* before = create_bitmap(SCREEN_W_PX, SCREEN_H_PX);
    blit(bmp, before, 0, 0, 0, 0, SCREEN_W_PX, SCREEN_H_PX);
    swarms[3].target_swarm = 6;
    clear_bitmap(bmp);
    draw();
    int changed_outside = 0;
    for (int y = 0; y < 150; ++y) {
        for (int x = 0; x < 230; ++x) {
            const bool box = x >= 210 && x <= 220;
            const bool last_line = y >= 120 && y < 130;
            if (!box && !last_line)
                changed_outside += getpixel(bmp, x, y) != getpixel(before, x, y);
        }
    }
    EXPECT_EQ(changed_outside, 0);
    EXPECT_EQ(getpixel(bmp, 210, 70), 0) << "swarm 6 is black";
    destroy_bitmap(before);
}

TEST_F(Panel, OutOfRangeValuesAreClampedOrLeftOut) {
    swarms[3].color_red = 300;
    swarms[3].color_green = -1;
    swarms[3].color_blue = 256;
    for (int target : {10, -1, INT32_MAX, INT32_MIN}) {
        swarms[3].target_swarm = target;
        clear_bitmap(bmp);
        draw();
        EXPECT_EQ(getpixel(bmp, 0, 70), makecol(255, 0, 255)) << target;
        for (int y = 0; y < 150; ++y)
            EXPECT_EQ(getpixel(bmp, 210, y), 0) << "no box for target " << target;
        EXPECT_TRUE(text_in_line(120));
    }
    // Target 0 shows record 0's colour.
    swarms[3].target_swarm = 0;
    swarms[0].color_blue = 90;
    clear_bitmap(bmp);
    draw();
    EXPECT_EQ(getpixel(bmp, 210, 70), makecol(0, 0, 90));
}

// The first line shows the swarm and its population; text for a known value matches what the
// font draws for the same words.
TEST_F(Panel, LinesPrintTheirValues) {
    draw();
    BITMAP* expected = create_bitmap(SCREEN_W_PX, SCREEN_H_PX);
    clear_bitmap(expected);
    textprintf_ex(expected, ui_font, 10, 10, makecol(255, 255, 255), -1, "SWARM 3: 250 Fireflies");
    for (int y = 10; y < 19; ++y) {
        for (int x = 10; x < 195; ++x) {
            const bool white = getpixel(bmp, x, y) == makecol(255, 255, 255);
            EXPECT_EQ(white, getpixel(expected, x, y) != 0) << x << ", " << y;
        }
    }
    destroy_bitmap(expected);
}
