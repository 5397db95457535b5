#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "sim/blink_point.h"
#include "sim/random.h"
#include "sim/synchrony.h"
#include "sim/world.h"
#include "tests/support.h"
#include "ui/input.h"

class Synchronies : public ::testing::Test {
  protected:
    void SetUp() override { clear_program_state(); }
    // Puts n fireflies of swarm s from slot first on, the k-th at phase phase(k).
    template <typename Phase>
    static void put(int s, int first, int n, Phase phase) {
        for (int k = 0; k < n; ++k) {
            fireflies[first + k] =
                Firefly{static_cast<float>(s),        100.0f + k, 100, 0, 0, 10, 0, 1,
                        static_cast<float>(phase(k)), 0,          0};
        }
    }
    static Synchrony measure() {
        Synchrony m;
        measure_synchrony(m);
        return m;
    }
};

// Fireflies all in step give order 1 at any phase, evenly spread ones about 0; the lock pools a
// swarm with its target, and only the brighter half of the blink counts as flashing.
TEST_F(Synchronies, OrderLockAndFlashingOfKnownLayouts) {
    put(1, 0, 40, [](int) { return 2.0 + 8 * M_PI; });
    put(2, 40, 36, [](int k) { return 1.0 + k * (2 * M_PI / 36); });
    put(3, 100, 10, [](int) { return 2.0 + M_PI; });  // the other side of swarm 1's circle
    fireflies[200] = Firefly{4.0f, 5, 5, 0, 0, 10, 0, 1, -1.0f, 0, 0};
    fireflies[60].swarm = 0.0f;  // a free slot of swarm 2 no longer counts
    swarms[1].target_swarm = 1;
    swarms[2].target_swarm = 1;
    swarms[3].target_swarm = 1;
    swarms[4].target_swarm = 10;
    const Synchrony m = measure();

    EXPECT_EQ(m.swarm[1].population, 40);
    EXPECT_NEAR(m.swarm[1].order, 1.0, 1e-12);
    EXPECT_EQ(m.swarm[1].lock, m.swarm[1].order);
    EXPECT_EQ(m.swarm[1].flashing, 40);  // sin 2 > 0
    EXPECT_EQ(m.swarm[3].flashing, 0);   // sin(2 + pi) < 0

    EXPECT_EQ(m.swarm[2].population, 35);
    EXPECT_LT(m.swarm[2].order, 0.05);
    EXPECT_EQ(m.swarm[2].flashing, 18);  // half the circle; the freed one was dark
    // 40 points at one place and 10 opposite: the pool's mean has length 30 / 50.
    EXPECT_NEAR(m.swarm[3].lock, 0.6, 1e-9);
    EXPECT_EQ(m.swarm[4].lock, 0.0);  // a target outside the table
    EXPECT_EQ(m.swarm[5].population, 0);
    EXPECT_EQ(m.swarm[5].order, 0.0);
    EXPECT_EQ(m.swarm[5].lock, 0.0);
}

// Synchrony is the first frame of the first run of 120 ordered frames; a shorter run or a dip
// below 0.9 starts the count again, and a swarm that never holds it stays at -1.
TEST_F(Synchronies, TimeToSynchronyNeedsOneHundredTwentyFramesInARow) {
    SyncTimer timer = make_sync_timer();
    Synchrony m{};
    for (int64_t frame = 1; frame <= 400; ++frame) {
        m.swarm[1].order = frame >= 10 && frame != 100 ? 0.95 : 0.5;  // run from 101 on
        m.swarm[2].order = frame % 119 == 0 ? 0.1 : 0.9;              // runs of 118 frames
        m.swarm[3].order = frame >= 281 ? 1.0 : 0.0;                  // exactly 120 frames
        track_synchrony(timer, frame, m);
    }
    EXPECT_EQ(timer.sync_frame[1], 101) << "the first run, of 90 frames, is too short";
    EXPECT_EQ(timer.sync_frame[2], -1);
    EXPECT_EQ(timer.sync_frame[3], 281);
    EXPECT_EQ(timer.sync_frame[4], -1);
}

// In a real run a swarm whose fireflies listen across the field falls into step, and one whose
// fireflies cannot hear each other does not; measuring changes nothing in the table.
TEST_F(Synchronies, WideCommunicationSynchronisesAndNoneDoesNot) {
    init_headless(32);
    seed_random(7);
    for (int s : {1, 2}) {
        swarms[s] = Swarm{};
        swarms[s].population = 150;
        swarms[s].highest_speed = 4;
        swarms[s].lowest_speed = 1;
        swarms[s].turning_speed = 6;
        swarms[s].field_of_view = 60;
        swarms[s].target_swarm = s;
    }
    swarms[1].communication = 20000;
    swarms[2].communication = 0;
    SyncTimer timer = make_sync_timer();
    FrameOptions options;
    options.draw = false;
    const InputSnapshot input;
    for (int64_t frame = 1; frame <= 900; ++frame) {
        run_frame(nullptr, input, options);
        Firefly before[MAX_FIREFLIES];
        std::copy(fireflies, fireflies + MAX_FIREFLIES, before);
        Synchrony m;
        measure_synchrony(m);
        ASSERT_EQ(std::memcmp(before, fireflies, sizeof before), 0);
        track_synchrony(timer, frame, m);
    }
    EXPECT_GE(timer.sync_frame[1], 1);
    EXPECT_EQ(timer.sync_frame[2], -1);
}

// The history keeps the latest 600 frames; once full, the oldest is the one at `next`.
TEST_F(Synchronies, HistoryKeepsTheLatestFrames) {
    static OrderHistory history{};
    Synchrony m{};
    for (int frame = 1; frame <= 650; ++frame) {
        m.swarm[4].order = frame / 1000.0;
        m.global_order = frame / 2000.0;
        record_order(history, m);
    }
    EXPECT_EQ(history.count, ORDER_HISTORY_FRAMES);
    EXPECT_FLOAT_EQ(history.swarm_order[history.next][4], 0.051f);
    EXPECT_FLOAT_EQ(history.global_order[(history.next + 599) % 600], 0.325f);
}

// The measures take each firefly's point from its slot, where the glow has usually put it
// earlier in the frame, or an earlier frame left it for another phase. On random tables with
// such leftovers, odd swarm numbers and odd phases (both zeros, the smallest, huge, infinite,
// not a number) they match working every point out afresh bit for bit, and a slot's point is
// what sin and cos, each called alone, give: the glow's brightness keeps its bits.
TEST_F(Synchronies, MeasuresFromKeptPointsMatchWorkingThemOut) {
    std::mt19937 rng(11);
    const float odd[] = {0.0f, -0.0f, 1e-45f, 3e38f, -7.5f, INFINITY, NAN, 16777216.0f};
    const auto phase = [&] {
        return rng() % 16 == 0 ? odd[rng() % 8]
                               : std::uniform_real_distribution<float>(-10.0f, 5000.0f)(rng);
    };
    for (int table = 0; table < 40; ++table) {
        SCOPED_TRACE(table);
        for (Firefly& f : slots_in_use()) {
            const unsigned kind = rng() % 16;
            f.swarm = kind < 4 ? 0.0f : kind == 4 ? 2.5f : kind == 5 ? 12.0f : 1.0f + rng() % 9;
            f.glow_phase = phase();
        }
        for (Swarm& s : swarms) s.target_swarm = static_cast<int32_t>(rng() % 12) - 1;
        for (int i = 0; i < MAX_FIREFLIES; i += 1 + rng() % 3) blink_point(i);
        for (int i = 0; i < MAX_FIREFLIES; i += 1 + rng() % 4) fireflies[i].glow_phase = phase();
        Synchrony kept, afresh;
        measure_synchrony(kept);
        measure_synchrony_plain(afresh);
        ASSERT_EQ(std::memcmp(&kept, &afresh, sizeof kept), 0);
        for (int i = 0; i < MAX_FIREFLIES; ++i) {
            volatile double x = fireflies[i].glow_phase;
            const double alone[2] = {std::cos(x), std::sin(x)};
            const double point[2] = {blink_point(i).cosine, blink_point(i).sine};
            ASSERT_EQ(std::memcmp(alone, point, sizeof alone), 0) << fireflies[i].glow_phase;
        }
    }
}
