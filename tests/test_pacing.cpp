#include <gtest/gtest.h>

#include <thread>

#include "app/pacing.h"

// The test is the clock: no timer is installed, so a tick comes only when frame_tick is called.

// Ticks that came while a frame was slow wake the loop once, so one frame follows a slow one;
// the next wait is for a new tick, not for one it overran.
TEST(Pacing, SlowFrameIsNotMadeUpFor) {
    ASSERT_TRUE(reset_pacing());
    frame_tick();
    EXPECT_EQ(wait_for_tick(), 1);
    for (int i = 0; i < 3; ++i) frame_tick();
    EXPECT_EQ(wait_for_tick(), 3);
    frame_tick();
    EXPECT_EQ(wait_for_tick(), 1);
}

// The close button's request wakes a loop blocked with no tick to come, from another thread,
// and every later wait returns at once, so the program ends without waiting for a frame.
TEST(Pacing, StopWakesABlockedWaitForGood) {
    ASSERT_TRUE(reset_pacing());
    std::thread loop([] { EXPECT_EQ(wait_for_tick(), 0); });
    stop_waiting();
    loop.join();
    EXPECT_EQ(wait_for_tick(), 0);
    frame_tick();
    EXPECT_EQ(wait_for_tick(), 1);
}
