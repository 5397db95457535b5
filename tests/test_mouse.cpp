#include <allegro.h>
#include <gtest/gtest.h>

#include <cmath>

#include "render/color.h"
#include "render/media.h"
#include "sim/world.h"
#include "tests/support.h"
#include "ui/input.h"
#include "ui/interface_state.h"
#include "ui/keyboard.h"
#include "ui/mouse.h"

class Mouse : public ::testing::Test {
  protected:
    void SetUp() override {
        init_headless(32);
        clear_program_state();
        bmp = create_bitmap(SCREEN_W_PX, SCREEN_H_PX);
        clear_bitmap(bmp);
        for (BITMAP*& c : cursor_images) {
            c = create_bitmap(13, 13);
            clear_bitmap(c);
            putpixel(c, 6, 6, makecol(200, 200, 200));  // one white pixel on the hot spot
            putpixel(c, 0, 0, makecol(90, 90, 90));
        }
    }
    void TearDown() override {
        destroy_bitmap(bmp);
        for (BITMAP*& c : cursor_images) destroy_bitmap(c);
    }
    void frame(int x, int y, int buttons) {
        InputSnapshot in;
        in.mouse_x = x;
        in.mouse_y = y;
        in.mouse_b = buttons;
        handle_keyboard(in);  // counts the shared cooldown, as the frame does
        draw_mouse_cursor(bmp, in);
        handle_mouse(in);
    }
    BITMAP* bmp = nullptr;
};

// Pushes of each tool on a firefly 100 pixels right of the mouse, and on one at the mouse.
TEST_F(Mouse, ToolsPushByDistanceAndDirection) {
    struct Case {
        int tool;
        float dx100, dy100, dx0, dy0;
    } cases[] = {
        {TOOL_REPEL, 6, 0, 0, 12},
        {TOOL_ATTRACT, -6, 0, 0, -12},
        {TOOL_SWIRL_CW, 0, 6, -12, 0},
        {TOOL_SWIRL_CCW, 0, -6, 12, 0},
    };
    for (const Case& c : cases) {
        fireflies[1] = Firefly{2, 600, 300, 45, 3, 10, 0, 1, 1, 0, 0};
        fireflies[2] = Firefly{3, 500, 300, 45, 3, 10, 0, 1, 1, 0, 0};
        apply_tool_field(c.tool, 500, 300);
        EXPECT_NEAR(fireflies[1].x, 600 + c.dx100, 1e-4) << c.tool;
        EXPECT_NEAR(fireflies[1].y, 300 + c.dy100, 1e-4) << c.tool;
        EXPECT_NEAR(fireflies[2].x, 500 + c.dx0, 1e-4) << c.tool;
        EXPECT_NEAR(fireflies[2].y, 300 + c.dy0, 1e-4) << c.tool;
        EXPECT_EQ(fireflies[1].heading, 45.0f);
        EXPECT_EQ(fireflies[1].speed, 3.0f);
    }
}

TEST_F(Mouse, PushEndsAtTheRadius) {
    fireflies[1] = Firefly{2, 699.5f, 300, 0, 0, 10, 0, 1, 1, 0, 0};  // rounds to 200
    fireflies[2] = Firefly{2, 500, 499.4f, 0, 0, 10, 0, 1, 1, 0, 0};  // rounds to 199
    fireflies[3] = Firefly{0, 510, 300, 0, 0, 10, 0, 1, 1, 0, 0};     // free slot
    apply_tool_field(TOOL_REPEL, 500, 300);
    EXPECT_EQ(fireflies[1].x, 699.5f);
    EXPECT_NEAR(fireflies[2].y, 499.46f, 1e-4);
    EXPECT_EQ(fireflies[3].x, 510.0f);
}

TEST_F(Mouse, LureWritesOnlyThreeFieldsOfSlotZero) {
    selected_swarm = 4;
    fireflies[0] = Firefly{0, 1, 2, 33, 4, 55, 6, 7, 8, 9, 1};
    frame(321, 123, MOUSE_LEFT);
    EXPECT_EQ(fireflies[0].swarm, 4.0f);
    EXPECT_EQ(fireflies[0].x, 321.0f);
    EXPECT_EQ(fireflies[0].y, 123.0f);
    EXPECT_EQ(fireflies[0].heading, 33.0f);
    EXPECT_EQ(fireflies[0].glow_phase, 8.0f);
    EXPECT_EQ(fireflies[0].wander_side, 1.0f);
}

TEST_F(Mouse, RightButtonCyclesToolsOnTheSharedCounter) {
    int changes_at[6] = {};
    int n = 0;
    for (int f = 1; f <= 60 && n < 6; ++f) {
        const int before = mouse_tool;
        frame(0, 0, MOUSE_RIGHT);
        if (mouse_tool != before) changes_at[n++] = f;
    }
    // First change when the counter passes 10, then every 11 frames, wrapping 4 to 0.
    EXPECT_EQ(changes_at[0], 11);
    EXPECT_EQ(changes_at[1], 22);
    EXPECT_EQ(changes_at[4], 55);
    EXPECT_EQ(mouse_tool, 0);
    // After a key action the next tool change comes 10 frames later.
    InputSnapshot key_action;
    key_action.held[KEY_D] = true;
    key_cooldown = KEY_REPEAT_FRAMES;
    handle_keyboard(key_action);
    int frames = 0;
    for (int tool = mouse_tool; mouse_tool == tool; ++frames) frame(0, 0, MOUSE_RIGHT);
    EXPECT_EQ(frames, 10);
}

TEST_F(Mouse, CursorShowsAfterMovementAndHidesAfterRest) {
    frame(0, 0, 0);
    EXPECT_EQ(getpixel(bmp, 6, 6), 0) << "no cursor before the mouse moves";
    frame(300, 200, 0);  // moves: still judged by the count from before
    EXPECT_EQ(getpixel(bmp, 300, 200), 0);
    frame(300, 200, 0);
    const int white = makecol(255, 255, 255);
    EXPECT_EQ(getpixel(bmp, 300, 200), white);
    EXPECT_EQ(getpixel(bmp, 294, 194), white);
    EXPECT_EQ(getpixel(bmp, 301, 200), swarm_color(swarms[selected_swarm]));
    // Shown for the 100 frames that follow the last movement, then hidden.
    for (int i = 0; i < 99; ++i) frame(300, 200, 0);
    EXPECT_EQ(getpixel(bmp, 300, 200), white);
    clear_bitmap(bmp);
    frame(300, 200, 0);
    EXPECT_EQ(getpixel(bmp, 300, 200), 0);
    EXPECT_EQ(mouse_idle_frames, 1001);
    // The tool still acts with the cursor hidden.
    fireflies[5] = Firefly{1, 350, 200, 0, 0, 10, 0, 1, 1, 0, 0};
    mouse_tool = TOOL_REPEL;
    frame(300, 200, MOUSE_LEFT);
    EXPECT_GT(fireflies[5].x, 350.0f);
}

TEST_F(Mouse, CursorClipsAtTheEdgesAndFarPositionsAreHarmless) {
    mouse_idle_frames = 0;
    frame(1023, 767, 0);
    EXPECT_EQ(getpixel(bmp, 1023, 767), makecol(255, 255, 255));
    EXPECT_EQ(getpixel(bmp, 0, 0), 0);
    frame(INT32_MAX, INT32_MIN, MOUSE_LEFT);
    frame(INT32_MIN, INT32_MAX, MOUSE_LEFT);
    EXPECT_EQ(fireflies[0].x, static_cast<float>(INT32_MIN));
}
