#include <gtest/gtest.h>

#include <cmath>

#include "sim/motion.h"
#include "sim/world.h"
#include "tests/support.h"

class Motion : public ::testing::Test {
  protected:
    void SetUp() override {
        clear_program_state();
        swarms[1] = Swarm{};
        swarms[1].highest_speed = 5;
        swarms[1].lowest_speed = 1;
        swarms[1].turning_speed = 5;
        swarms[1].acceleration = 3;
        swarms[1].braking = 2;
        // A firefly standing still at a flutter phase whose sideways step is 0.
        f() = Firefly{1.0f, 500, 400, 100, 2.0f, 50, 0, 0.0f, 1, 0, 0};
    }
    static Firefly& f() { return fireflies[7]; }
    static void pursue(int turn, float distance) {
        f().steer = 30.0f;
        f().target_turn = static_cast<float>(turn);
        f().target_distance = distance;
        move_firefly(7);
    }
};

// A swarm's fireflies never turn faster than its turning speed, and brake when cut.
TEST_F(Motion, PursuitTurnIsCappedAndBrakes) {
    struct Case {
        int needed;
        float heading, speed;
    } cases[] = {
        {-181, 95, 2.1f}, {-6, 95, 2.1f}, {-5, 95, 2.3f},   {0, 100, 2.3f},
        {5, 105, 2.3f},   {6, 105, 2.1f}, {179, 105, 2.1f},
    };
    for (const Case& c : cases) {
        SetUp();
        pursue(c.needed, 50);
        EXPECT_EQ(f().heading, c.heading) << c.needed;
        EXPECT_FLOAT_EQ(f().speed, c.speed) << c.needed;
    }
}

TEST_F(Motion, AccelerationOnlyWhileTheTargetIsFarAndBeforeTheClamps) {
    pursue(0, 10.9f);  // truncates to 10: not far
    EXPECT_EQ(f().speed, 2.0f);
    SetUp();
    f().speed = 4.9f;
    pursue(0, 11.0f);
    EXPECT_EQ(f().speed, 5.0f);  // 5.2 clamped to the highest speed
    SetUp();
    f().speed = 1.1f;
    pursue(90, 11.0f);  // +0.3 then -0.2 braking, then clamps: 1.2
    EXPECT_FLOAT_EQ(f().speed, 1.2f);
}

TEST_F(Motion, WanderCirclesByHalfTheTurningSpeed) {
    for (float side : {0.0f, 1.0f, 2.0f}) {
        SetUp();
        f().wander_side = side;
        move_firefly(7);
        EXPECT_EQ(f().heading, side == 1.0f ? 98.0f : 102.0f) << side;
        EXPECT_EQ(f().speed, 2.0f);
    }
    // A newcomer that wanders moves off at exactly the lowest speed.
    SetUp();
    f().speed = 0.0f;
    move_firefly(7);
    EXPECT_EQ(f().speed, 1.0f);
}

TEST_F(Motion, HeadingAndPositionWrapOnceAtTheEdges) {
    swarms[1].highest_speed = 0;
    swarms[1].lowest_speed = 0;
    swarms[1].turning_speed = 20;
    struct Case {
        float heading, side, expected;
    } headings[] = {{350, 0, 0}, {5, 1, 355}, {0, 1, 350}, {355, 0, 5}};
    for (const Case& c : headings) {
        f().heading = c.heading;
        f().wander_side = c.side;
        move_firefly(7);
        EXPECT_EQ(f().heading, c.expected) << c.heading;
    }
    struct Pos {
        float x, y, ex, ey;
    } positions[] = {
        {1024, 768, 0, 0}, {-0.25f, -0.25f, 1023.75f, 767.75f}, {3000, -2000, 1976, -1232}};
    for (const Pos& p : positions) {
        f().x = p.x;
        f().y = p.y;
        f().heading = 0;
        swarms[1].turning_speed = 0;
        move_firefly(7);
        EXPECT_EQ(f().x, p.ex);
        EXPECT_EQ(f().y, p.ey);
    }
}

TEST_F(Motion, SpeedBoundsCrossedGiveTheHighest) {
    swarms[1].lowest_speed = 3;
    swarms[1].highest_speed = 2;
    for (int i = 0; i < 5; ++i) {
        move_firefly(7);
        EXPECT_EQ(f().speed, 2.0f);
    }
}

// With no speed the flutter phase stands still and the firefly drifts a pixel a frame to its
// right-hand side: one, not two, at the top of the sine, which a float phase never reaches.
TEST_F(Motion, StandingFireflyDriftsSideways) {
    swarms[1].lowest_speed = 0;
    swarms[1].highest_speed = 0;
    swarms[1].turning_speed = 0;
    f().heading = 0;  // along +x, so the right-hand side is down the screen
    f().flutter_phase = 1.5707964f;
    for (int i = 1; i <= 3; ++i) {
        move_firefly(7);
        EXPECT_EQ(f().flutter_phase, 1.5707964f);
        EXPECT_NEAR(f().y, 400.0f + i, 1e-3);
        EXPECT_NEAR(f().x, 500.0f, 1e-3);
    }
}

// Settings at the ends of the int range act through the same formulas without overflowing:
// the clamps still hold the speed, a negative turning speed turns every frame the other way,
// and nothing becomes infinite or NaN.
TEST_F(Motion, ExtremeSettingsStayDefined) {
    swarms[1].turning_speed = INT32_MIN;
    swarms[1].highest_speed = INT32_MAX;
    swarms[1].lowest_speed = INT32_MAX;
    swarms[1].acceleration = INT32_MIN;
    swarms[1].braking = INT32_MAX;
    for (int i = 0; i < 50; ++i) {
        for (bool pursuing : {true, false}) {
            const float heading = f().heading;
            if (pursuing) {
                pursue(i % 2 ? INT32_MIN : 0, 3e38f);
            } else {
                f().wander_side = 1.0f;
                f().steer = 0.0f;
                move_firefly(7);
            }
            ASSERT_EQ(f().speed, static_cast<float>(INT32_MAX)) << i;
            ASSERT_GT(f().heading, heading) << i;
            for (float v : {f().heading, f().x, f().y, f().flutter_phase})
                ASSERT_TRUE(std::isfinite(v)) << i;
        }
    }
}
