#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "app/shell.h"
#include "render/media.h"
#include "render/panel.h"
#include "sim/world.h"
#include "tests/support.h"

namespace {

struct Box {
    int left = SCREEN_W_PX, top = SCREEN_H_PX, right = -1, bottom = -1;
    bool empty() const { return right < left; }
};

// The smallest box holding every pixel of colour c in rows top to bottom.
Box box_of(BITMAP* bmp, int c, int top = 0, int bottom = SCREEN_H_PX - 1) {
    Box b;
    for (int y = top; y <= bottom; ++y) {
        for (int x = 0; x < SCREEN_W_PX; ++x) {
            if (getpixel(bmp, x, y) != c) continue;
            b = Box{std::min(b.left, x), std::min(b.top, y), std::max(b.right, x),
                    std::max(b.bottom, y)};
        }
    }
    return b;
}

// Whether the pixels of colour c are exactly the outline of the box holding them.
bool is_outline(BITMAP* bmp, int c, const Box& b) {
    for (int y = 0; y < SCREEN_H_PX; ++y) {
        for (int x = 0; x < SCREEN_W_PX; ++x) {
            const bool inside = x >= b.left && x <= b.right && y >= b.top && y <= b.bottom;
            const bool edge =
                inside && (x == b.left || x == b.right || y == b.top || y == b.bottom);
            if ((getpixel(bmp, x, y) == c) != edge) return false;
        }
    }
    return true;
}

}  // namespace

class Panel : public ::testing::Test {
  protected:
    void SetUp() override {
        init_headless(32);
        clear_program_state();
        const char* failed = nullptr;
        ASSERT_TRUE(load_startup_media(LUMORA_ASSETS_DIR, failed)) << failed;
        bmp = create_bitmap(SCREEN_W_PX, SCREEN_H_PX);
        white = makecol(255, 255, 255);
        grey = makecol(100, 100, 100);
        swarms[3].population = 250;
        swarms[3].color_red = 10;
        swarms[3].color_green = 200;
        swarms[3].color_blue = 30;
        swarms[3].target_swarm = 5;
        swarms[5].color_red = 250;
        swarms[5].color_green = 40;
        swarms[5].color_blue = 0;
        draw();
    }
    void TearDown() override { destroy_bitmap(bmp); }
    // The panel of swarm 3 with `row` on the bar, on a black picture.
    void draw(int row = 0) {
        clear_bitmap(bmp);
        draw_panel(bmp, 3, row);
    }
    // The rows of each line of text, top to bottom: runs of rows holding white.
    std::vector<Box> lines() const {
        std::vector<Box> found;
        for (int y = 0; y < SCREEN_H_PX; ++y) {
            const Box row = box_of(bmp, white, y, y);
            if (row.empty()) continue;
            if (found.empty() || found.back().bottom != y - 1) found.emplace_back();
            Box& line = found.back();
            line = Box{std::min(line.left, row.left), std::min(line.top, y),
                       std::max(line.right, row.right), y};
        }
        return found;
    }
    BITMAP* bmp = nullptr;
    int white = 0, grey = 0;
};

// The bar lies behind the whole of the selected line and touches no other.
TEST_F(Panel, BarLiesBehindTheSelectedLineOnly) {
    for (int row = 0; row < PANEL_ROWS; ++row) {
        draw(row);
        const std::vector<Box> text = lines();
        ASSERT_EQ(text.size(), static_cast<size_t>(PANEL_ROWS)) << "bar on line " << row;
        const Box bar = box_of(bmp, grey);
        for (int line = 0; line < PANEL_ROWS; ++line) {
            const Box& t = text[line];
            const bool touches = bar.top <= t.bottom && t.top <= bar.bottom;
            const bool covers = bar.top <= t.top && t.bottom <= bar.bottom && bar.left < t.left &&
                                t.right < bar.right;
            EXPECT_EQ(touches, line == row) << "bar on line " << row << ", line " << line;
            EXPECT_EQ(covers, line == row) << "bar on line " << row << ", line " << line;
        }
    }
}

// A frame in the swarm's colour holds the lines and the bar; a hollow box in the target's
// colour stands right of it, as tall.
TEST_F(Panel, FrameAndTargetBoxTakeTheSwarmColours) {
    draw(PANEL_ROWS - 1);
    const Box frame = box_of(bmp, makecol(10, 200, 30));
    const Box box = box_of(bmp, makecol(250, 40, 0));
    ASSERT_TRUE(is_outline(bmp, makecol(10, 200, 30), frame));
    ASSERT_TRUE(is_outline(bmp, makecol(250, 40, 0), box));
    for (const Box& inner : {box_of(bmp, white), box_of(bmp, grey)}) {
        EXPECT_TRUE(frame.left < inner.left && inner.right < frame.right && frame.top < inner.top &&
                    inner.bottom < frame.bottom);
    }
    EXPECT_GT(box.left, frame.right + 1);
    EXPECT_EQ(box.top, frame.top);
    EXPECT_EQ(box.bottom, frame.bottom);

    // A new target redraws the box in its colour; the frame stays.
    swarms[3].target_swarm = 6;
    swarms[6].color_blue = 250;
    draw(PANEL_ROWS - 1);
    EXPECT_TRUE(is_outline(bmp, makecol(0, 0, 250), box));
    EXPECT_TRUE(is_outline(bmp, makecol(10, 200, 30), frame));
}

TEST_F(Panel, OutOfRangeValuesAreClampedOrLeftOut) {
    swarms[3].color_red = 300;
    swarms[3].color_green = -1;
    swarms[3].color_blue = 256;
    for (int target : {10, -1, INT32_MAX, INT32_MIN}) {
        swarms[3].target_swarm = target;
        draw();
        const Box frame = box_of(bmp, makecol(255, 0, 255));
        ASSERT_TRUE(is_outline(bmp, makecol(255, 0, 255), frame)) << target;
        bool anything_right = false;
        for (int y = 0; y < SCREEN_H_PX; ++y) {
            for (int x = frame.right + 1; x < SCREEN_W_PX; ++x)
                anything_right |= getpixel(bmp, x, y);
        }
        EXPECT_FALSE(anything_right) << "no box for target " << target;
        EXPECT_EQ(lines().size(), static_cast<size_t>(PANEL_ROWS)) << target;
    }
    // Target 0 shows record 0's colour.
    swarms[3].target_swarm = 0;
    swarms[0].color_blue = 90;
    draw();
    EXPECT_FALSE(box_of(bmp, makecol(0, 0, 90)).empty());
}

// Each field a user edits shows on a line of its own, in the table's order: a new value
// changes the text of that line and of no other.
TEST_F(Panel, EachValueShowsOnItsOwnLine) {
    const std::vector<Box> text = lines();
    ASSERT_EQ(text.size(), static_cast<size_t>(PANEL_ROWS));
    BITMAP* before = create_bitmap(SCREEN_W_PX, SCREEN_H_PX);
    blit(bmp, before, 0, 0, 0, 0, SCREEN_W_PX, SCREEN_H_PX);
    for (int row = 0; row < PANEL_ROWS; ++row) {
        const Swarm kept = swarms[3];
        swarms[3].*SWARM_FIELD_TABLE[row].member += 1;
        draw();
        int inside = 0, outside = 0;
        for (int y = 0; y < SCREEN_H_PX; ++y) {
            for (int x = 0; x < SCREEN_W_PX; ++x) {
                const bool changed =
                    (getpixel(bmp, x, y) == white) != (getpixel(before, x, y) == white);
                (y >= text[row].top && y <= text[row].bottom ? inside : outside) += changed;
            }
        }
        EXPECT_GT(inside, 0) << SWARM_FIELD_TABLE[row].name;
        EXPECT_EQ(outside, 0) << SWARM_FIELD_TABLE[row].name;
        swarms[3] = kept;
    }
    destroy_bitmap(before);
}

// The first line names the swarm and its population and the last its target, exactly as the
// font writes those words.
TEST_F(Panel, LinesReadAsTheFontWritesThem) {
    const std::vector<Box> text = lines();
    ASSERT_EQ(text.size(), static_cast<size_t>(PANEL_ROWS));
    BITMAP* expected = create_bitmap(SCREEN_W_PX, SCREEN_H_PX);
    const std::pair<int, const char*> cases[] = {{0, "SWARM 3: 250 Fireflies"},
                                                 {PANEL_ROWS - 1, "Target Swarm: 5"}};
    for (const auto& [row, words] : cases) {
        clear_bitmap(expected);
        textout_ex(expected, ui_font, words, 0, 0, white, -1);
        const Box want = box_of(expected, white);
        const Box& got = text[row];
        ASSERT_EQ(got.right - got.left, want.right - want.left) << words;
        ASSERT_EQ(got.bottom - got.top, want.bottom - want.top) << words;
        for (int y = 0; y <= want.bottom - want.top; ++y) {
            for (int x = 0; x <= want.right - want.left; ++x) {
                EXPECT_EQ(getpixel(bmp, got.left + x, got.top + y) == white,
                          getpixel(expected, want.left + x, want.top + y) == white)
                    << words << " at " << x << ", " << y;
            }
        }
    }
    destroy_bitmap(expected);
}
