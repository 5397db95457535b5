#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "sim/geometry.h"
#include "sim/population.h"
#include "sim/random.h"
#include "sim/world.h"
#include "tests/support.h"

class Population : public ::testing::Test {
  protected:
    void SetUp() override {
        clear_program_state();
        seed_random(42);
    }
    static int members(int swarm) {
        int n = 0;
        for (const Firefly& f : slots_in_use()) n += f.swarm == static_cast<float>(swarm);
        return n;
    }
};

TEST_F(Population, SpawnsIntoTheLowestFreeSlotsWithFreshFields) {
    fireflies[0].swarm = 3.0f;
    fireflies[2].swarm = 3.0f;
    fireflies[1] = Firefly{0.0f, 5, 5, 90, 4, 50, -7, 3, 3, 33, 1};  // a freed slot's leftovers
    update_population(1, 5);
    EXPECT_EQ(members(1), 5);
    for (int slot : {1, 3, 4, 5, 6}) {
        const Firefly& f = fireflies[slot];
        EXPECT_EQ(f.swarm, 1.0f) << slot;
        EXPECT_EQ(f.heading, 0.0f);
        EXPECT_EQ(f.speed, 0.0f);
        EXPECT_EQ(f.target_distance, 10.0f);
        EXPECT_EQ(f.target_turn, 0.0f);
        EXPECT_EQ(f.steer, 0.0f);
        EXPECT_GE(f.flutter_phase, 1.0f);
        EXPECT_LE(f.flutter_phase, 10.0f);
        EXPECT_GE(f.glow_phase, 1.0f);
        EXPECT_LE(f.glow_phase, 10.0f);
        EXPECT_TRUE(f.wander_side == 0.0f || f.wander_side == 1.0f || f.wander_side == 2.0f);
        EXPECT_GE(f.x, 0.0f);
        EXPECT_LE(f.x, 1024.0f);
        EXPECT_GE(f.y, 0.0f);
        EXPECT_LE(f.y, 768.0f);
    }
    EXPECT_EQ(fireflies[7].swarm, 0.0f);
}

// Draws come in the order y, x, flutter, glow, wander side: only the largest gives a top value.
TEST_F(Population, RandomDrawsComeInTheirOrder) {
    for (int n = 0; n < 5; ++n) {
        uint32_t start;
        do {
            start = random_state;
            for (int i = 0; i < n; ++i) next_random();
        } while (next_random() != RANDOM_MAX);
        seed_random(start);
        update_population(n + 1, 1);  // into slot n
        const Firefly& f = fireflies[n];
        const bool top[] = {f.y == 768, f.x == 1024, f.flutter_phase == 10, f.glow_phase == 10,
                            f.wander_side == 2};
        for (int field = 0; field < 5; ++field) EXPECT_EQ(top[field], field == n) << n;
    }
}

TEST_F(Population, LoweringFreesTheHighestSlotsAndTouchesOnlyTheSwarmField) {
    update_population(4, 10);
    const Firefly kept = fireflies[3];
    const Firefly freed = fireflies[9];
    update_population(4, 4);
    EXPECT_EQ(members(4), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(fireflies[i].swarm, 4.0f);
    EXPECT_EQ(0, std::memcmp(&fireflies[3], &kept, sizeof kept));
    EXPECT_EQ(fireflies[9].swarm, 0.0f);
    EXPECT_EQ(fireflies[9].x, freed.x);
    EXPECT_EQ(fireflies[9].glow_phase, freed.glow_phase);

    update_population(4, 0);
    EXPECT_EQ(members(4), 0);
    update_population(4, 3);
    update_population(4, -5);
    EXPECT_EQ(members(4), 0);
}

TEST_F(Population, FullTableLeavesLaterSwarmsShortUntilSlotsFree) {
    update_population(1, 1500);
    update_population(2, 1500);
    EXPECT_EQ(members(1), 1500);
    EXPECT_EQ(members(2), 500);
    // A full table costs one pair of draws, not one per missing member.
    const uint32_t before = random_state;
    update_population(3, 1000000000);
    EXPECT_EQ(members(3), 0);
    const uint32_t after = random_state;
    seed_random(before);
    next_random();
    next_random();
    EXPECT_EQ(after, random_state);

    // Freeing room in a lower-numbered swarm lets a higher-numbered one fill up in the same
    // pass of the frame.
    update_population(1, 1000);
    update_population(2, 1500);
    EXPECT_EQ(members(2), 1000);
}

TEST_F(Population, LureInSlotZeroCountsAndIsKept) {
    update_population(5, 3);
    fireflies[0].swarm = 6.0f;  // the lure moves slot 0 to another swarm
    update_population(5, 3);
    EXPECT_EQ(members(5), 3);
    EXPECT_EQ(fireflies[0].swarm, 6.0f);
    fireflies[10].swarm = 6.0f;
    update_population(6, 1);
    EXPECT_EQ(fireflies[0].swarm, 6.0f);
    EXPECT_EQ(fireflies[10].swarm, 0.0f);
}

// All swarms at once, with the settled table noticed in one pass, against each swarm in turn:
// the same table and the same random draws, whether nothing has to change or one swarm is
// off by one, with odd swarm values in the table and populations of none, fewer than none,
// and more than the table holds.
TEST_F(Population, AllSwarmsAtOnceMatchEachInTurn) {
    std::mt19937 rng(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    static Firefly start[MAX_FIREFLIES], one_by_one[MAX_FIREFLIES];
    for (int round = 0; round < 200; ++round) {
        const float odd[] = {2.5f, 10.0f, -1.0f, NAN, 1e9f};
        for (Firefly& f : slots_in_use()) {
            f = Firefly{};
            const int kind = pick(0, 99);
            f.swarm = kind < 30   ? 0.0f
                      : kind < 97 ? static_cast<float>(pick(1, 9))
                                  : odd[pick(0, 4)];
        }
        for (int s = 1; s < SWARM_COUNT; ++s) swarms[s].population = members(s);
        // Every other round, unsettle one swarm, or ask none of one that has none.
        if (round % 2 == 1) {
            const int s = pick(1, 9);
            const int change[] = {-1, 1, -members(s) - 3, 5000};
            swarms[s].population += change[pick(0, 3)];
        } else if (round % 4 == 0) {
            for (Firefly& f : slots_in_use()) {
                if (f.swarm == 4.0f) f.swarm = 0.0f;
            }
            swarms[4].population = -pick(0, 3);
        }
        std::memcpy(start, fireflies, sizeof start);
        seed_random(static_cast<uint32_t>(round));
        update_populations(true);
        std::memcpy(one_by_one, fireflies, sizeof one_by_one);
        const uint32_t draws = random_state;

        std::memcpy(fireflies, start, sizeof start);
        seed_random(static_cast<uint32_t>(round));
        update_populations(false);
        ASSERT_EQ(random_state, draws) << "round " << round;
        ASSERT_EQ(std::memcmp(fireflies, one_by_one, sizeof one_by_one), 0) << "round " << round;
    }
}
