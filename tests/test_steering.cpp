#include <gtest/gtest.h>

#include "sim/random.h"
#include "sim/steering.h"
#include "sim/world.h"
#include "tests/support.h"

// A firefly of swarm 1 in slot 10 at (500, 400), heading right, watching swarm 2.
class Steering : public ::testing::Test {
  protected:
    void SetUp() override {
        clear_program_state();
        seed_random(3);
        swarms[1].target_swarm = 2;
        swarms[1].field_of_view = 45;
        swarms[1].communication = 0;
        me() = Firefly{1.0f, 500, 400, 0, 2, 10, 0, 1, 1.0f, 0, 0};
    }
    static Firefly& me() { return fireflies[10]; }
    static void put(int slot, float swarm, float x, float y, float phase = 0.0f) {
        fireflies[slot] = Firefly{swarm, x, y, 0, 0, 10, 0, 1, phase, 0, 0};
    }
};

TEST_F(Steering, TargetLimitsAreStrict) {
    put(3, 2, 520, 400);  // exactly 20 pixels: never a target
    EXPECT_EQ(steer_firefly(10), 0);
    put(3, 2, 580, 400);  // exactly 80 pixels: a target, but the walk goes on
    put(5, 2, 570, 400);  // nearer, later slot
    EXPECT_EQ(steer_firefly(10), 70);
    EXPECT_EQ(me().target_distance, 70.0f);
    EXPECT_EQ(me().target_turn, 0.0f);
    put(3, 0, 0, 0);
    put(5, 2, 520.5f, 400);  // 20.5 pixels returns 20
    EXPECT_EQ(steer_firefly(10), 20);
}

TEST_F(Steering, FieldOfViewIsStrict) {
    swarms[1].field_of_view = 45;
    put(3, 2, 600, 500);  // bearing 45: a turn of exactly the field of view
    EXPECT_EQ(steer_firefly(10), 0);
    swarms[1].field_of_view = 46;
    EXPECT_EQ(steer_firefly(10), 141);
    EXPECT_EQ(me().target_turn, 45.0f);
    // Behind the firefly: a turn of -180 is never visible with a field of view of 180.
    put(3, 2, 400, 400);
    swarms[1].field_of_view = 180;
    EXPECT_EQ(steer_firefly(10), 0);
    swarms[1].field_of_view = 0;
    put(3, 2, 600, 400);
    EXPECT_EQ(steer_firefly(10), 0);
}

TEST_F(Steering, OrderDecidesTiesAndTheEarlyStop) {
    // Two candidates at the same distance: the lower slot wins.
    put(3, 2, 600, 450);
    put(4, 2, 600, 350);
    EXPECT_EQ(steer_firefly(10), 111);
    EXPECT_EQ(me().target_turn, 26.0f);
    // The walk ends at the first accepted candidate under 80, even if a higher slot is nearer.
    put(5, 2, 570, 400);
    put(6, 2, 530, 400);
    EXPECT_EQ(steer_firefly(10), 70);
    // A candidate out of view or too close does not stop the walk.
    put(3, 2, 430, 400);
    put(4, 2, 505, 400);
    EXPECT_EQ(steer_firefly(10), 70);
}

TEST_F(Steering, NoTargetKeepsTheOldTargetFields) {
    me().target_distance = 123;
    me().target_turn = -17;
    put(3, 3, 600, 400);  // another swarm
    EXPECT_EQ(steer_firefly(10), 0);
    EXPECT_EQ(me().target_distance, 123.0f);
    EXPECT_EQ(me().target_turn, -17.0f);
}

TEST_F(Steering, SelfFollowingSkipsItself) {
    swarms[1].target_swarm = 1;
    put(2, 1, 550, 400);
    EXPECT_EQ(steer_firefly(10), 50);
    put(2, 0, 550, 400);
    EXPECT_EQ(steer_firefly(10), 0);
}

TEST_F(Steering, PhaseComesFromTheLastCandidateInRangeThenAdvances) {
    swarms[1].communication = 100;  // 10 pixels
    put(3, 2, 505, 400, 3.0f);      // too close to pursue, but in range
    put(4, 2, 400, 400, 4.0f);      // behind, in range? no: 100 pixels away
    put(6, 2, 500, 395, 5.0f);      // in range, behind the field of view
    EXPECT_EQ(steer_firefly(10), 0);
    EXPECT_GE(me().glow_phase, 5.005f);
    EXPECT_LE(me().glow_phase, 5.1f);
    // A stop before the last candidate in range leaves the earlier one as the partner.
    put(5, 2, 550, 400, 9.0f);
    me().glow_phase = 1.0f;
    EXPECT_EQ(steer_firefly(10), 50);
    EXPECT_GE(me().glow_phase, 3.005f);
    EXPECT_LE(me().glow_phase, 3.1f);
    // No one in range: the phase only advances.
    swarms[1].communication = 0;
    me().glow_phase = 1.0f;
    steer_firefly(10);
    EXPECT_GE(me().glow_phase, 1.005f);
    EXPECT_LE(me().glow_phase, 1.1f);
}

// Target swarm 0 names the free slots, which keep their last places and phases.
TEST_F(Steering, TargetSwarmZeroChasesFreeSlots) {
    swarms[1].target_swarm = 0;
    swarms[1].communication = 10000;
    for (int i = 0; i < MAX_FIREFLIES; ++i) {
        if (i != 10) fireflies[i].swarm = 1.0f;
    }
    put(1500, 0, 560, 410, 7.5f);
    fireflies[1500].swarm = 0.0f;
    EXPECT_EQ(steer_firefly(10), 60);
    EXPECT_GE(me().glow_phase, 7.505f);
    EXPECT_LE(me().glow_phase, 7.6f);
}

TEST_F(Steering, TargetsOutsideTheTableHaveNoCandidates) {
    put(3, 2, 550, 400);
    for (int target : {10, -1, INT32_MAX, INT32_MIN}) {
        swarms[1].target_swarm = target;
        EXPECT_EQ(steer_firefly(10), 0) << target;
    }
}
