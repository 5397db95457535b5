// The fast paths must give exactly what the straightforward ones give: the same steering
// choices, the same fields, the same random draws and the same pixels, on any world.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "app/shell.h"
#include "render/band_worker.h"
#include "render/glow.h"
#include "render/media.h"
#include "sim/geometry.h"
#include "sim/random.h"
#include "sim/simulation_step.h"
#include "sim/steering.h"
#include "sim/steering_grid.h"
#include "sim/steering_search.h"
#include "sim/world.h"
#include "tests/support.h"
#include "ui/input.h"

namespace {

// A random world with the settings and positions that stress a search: every target swarm
// including 0 and ones outside the table, self-following swarms, narrow and wide views,
// communication from none to the whole field, positions on the edges, beyond them and far
// away, and now and then an infinite or NaN position, over the run's field and table.
void random_world(std::mt19937& rng, int live_slots) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto chance = [&](int percent) { return pick(1, 100) <= percent; };
    for (int s = 0; s < SWARM_COUNT; ++s) {
        Swarm& w = swarms[s];
        w = Swarm{};
        w.target_swarm = chance(10) ? pick(-2, 12) : chance(30) ? s : pick(0, 9);
        const int views[] = {0, 1, 10, 45, 89, 90, 91, 120, 178, 179, 180, 181, 360, pick(-5, 400)};
        w.field_of_view = views[pick(0, 13)];
        const int ranges[] = {0, 50, 200, 300, 1000, 1280, 2500, 20000, pick(-100, 3000)};
        w.communication = ranges[pick(0, 8)];
        // Now and then fast enough to leave the neighbourhood a search expects it in.
        w.highest_speed = chance(20) ? pick(16, 70) : pick(0, 8);
        w.lowest_speed = chance(20) ? pick(12, 40) : pick(0, 3);
        w.turning_speed = pick(0, 20);
        w.acceleration = pick(0, 5);
        w.braking = pick(0, 5);
        w.color_red = pick(0, 255);
        w.color_green = pick(0, 255);
        w.color_blue = pick(0, 255);
    }
    const int w = field_w_px, h = field_h_px;
    for (int i = 0; i < firefly_capacity; ++i) {
        Firefly& f = fireflies[i];
        f.swarm = i < live_slots && !chance(5) ? static_cast<float>(pick(1, 9)) : 0.0f;
        const int where = pick(1, 100);
        if (where <= 70) {
            f.x = std::uniform_real_distribution<float>(0.0f, static_cast<float>(w))(rng);
            f.y = std::uniform_real_distribution<float>(0.0f, static_cast<float>(h))(rng);
        } else if (where <= 80) {  // a few clusters, so that searches meet crowds
            f.x = 300.0f + pick(0, 40) + 0.25f * pick(0, 3);
            f.y = 200.0f + pick(0, 40);
        } else if (where <= 90) {  // on the edges
            f.x = static_cast<float>(pick(0, 1) * (w - 1)) + (chance(50) ? 0.999f : 0.0f);
            f.y = static_cast<float>(pick(0, h - 1));
        } else if (where <= 97) {  // beyond them
            f.x = static_cast<float>(pick(-300, w + 276));
            f.y = static_cast<float>(pick(-300, h + 332));
        } else {
            const float odd[] = {INFINITY, -INFINITY, NAN, 1e30f, -1e30f, 0.0f};
            f.x = odd[pick(0, 5)];
            f.y = odd[pick(0, 5)];
        }
        f.heading = static_cast<float>(chance(95) ? pick(0, 359) : pick(-1000, 5000));
        f.speed = static_cast<float>(pick(0, 4));
        f.target_distance = 10.0f;
        f.target_turn = 0.0f;
        f.flutter_phase = static_cast<float>(pick(10, 100)) / 10.0f;
        f.glow_phase = static_cast<float>(pick(10, 100)) / 10.0f;
        f.steer = 0.0f;
        f.wander_side = static_cast<float>(pick(0, 2));
    }
}

struct Snapshot {
    Firefly table[FIREFLIES_MOST];
    uint32_t random;
    void take() {
        std::memcpy(table, fireflies, sizeof(Firefly) * firefly_capacity);
        random = random_state;
    }
    void restore() const {
        std::memcpy(fireflies, table, sizeof(Firefly) * firefly_capacity);
        random_state = random;
    }
};

// Bitwise equality, so that NaN fields compare equal to themselves.
::testing::AssertionResult same_tables(const Firefly* a, const Firefly* b) {
    for (int i = 0; i < firefly_capacity; ++i) {
        if (std::memcmp(&a[i], &b[i], sizeof(Firefly)) != 0) {
            return ::testing::AssertionFailure()
                   << "slot " << i << ": steer " << a[i].steer << " vs " << b[i].steer
                   << ", target " << a[i].target_distance << "/" << a[i].target_turn << " vs "
                   << b[i].target_distance << "/" << b[i].target_turn << ", glow "
                   << a[i].glow_phase << " vs " << b[i].glow_phase;
        }
    }
    return ::testing::AssertionSuccess();
}

// Runs the frame's simulation step both ways from the current state and expects the same
// tables and generator; leaves the fast way's result in place.
::testing::AssertionResult same_step() {
    static Snapshot start, plain;
    start.take();
    run_simulation_step(true);
    plain.take();
    start.restore();
    run_simulation_step(false);
    if (plain.random != random_state) return ::testing::AssertionFailure() << "random draws differ";
    return same_tables(plain.table, fireflies);
}

class FastPaths : public ::testing::Test {
  protected:
    void SetUp() override { clear_program_state(); }
    void TearDown() override { set_field(SCREEN_W_PX, SCREEN_H_PX, MAX_FIREFLIES); }
};

}  // namespace

// Whole simulation steps on random worlds: after every frame the tables and the generator
// agree bit for bit.
TEST_F(FastPaths, SteeringMatchesTheWalkOnRandomWorlds) {
    std::mt19937 rng(2024);
    for (int world = 0; world < 24; ++world) {
        random_world(rng, world % 3 == 0 ? MAX_FIREFLIES : 200 + 150 * world);
        for (int frame = 0; frame < 12; ++frame)
            ASSERT_TRUE(same_step()) << "world " << world << " frame " << frame;
    }
}

// A big field and a table far beyond 2000 slots: the grid's slot lists and the searches that
// stop at a slot number see the same candidates in the same order as the walk.
TEST_F(FastPaths, SteeringMatchesTheWalkOnABigFieldBeyond2000Slots) {
    std::mt19937 rng(2029);
    set_field(3000, 2000, 9000);
    random_world(rng, 8000);
    for (int frame = 0; frame < 4; ++frame) ASSERT_TRUE(same_step()) << "frame " << frame;
}

// The previous target and partner are only hints: from one world, a grid that remembers last
// frame's choices and a freshly reset one steer alike, and both as the walk does.
TEST_F(FastPaths, ResetGridSteersAsTheHintedOne) {
    std::mt19937 rng(99);
    random_world(rng, 1500);
    for (int frame = 0; frame < 3; ++frame) ASSERT_TRUE(same_step());
    static Snapshot before, hinted;
    before.take();
    run_simulation_step(false);
    hinted.take();
    before.restore();
    reset_steering_grid();
    ASSERT_TRUE(same_step());
    EXPECT_EQ(hinted.random, random_state);
    EXPECT_TRUE(same_tables(hinted.table, fireflies));
}

// Hand-made layouts where the order of the walk decides.
class WalkLayouts : public FastPaths {
  protected:
    void SetUp() override {
        FastPaths::SetUp();
        swarms[1].target_swarm = 2;
        swarms[1].field_of_view = 45;
        swarms[1].communication = 0;
        put(10, 1, 500, 400, 1.0f);
    }
    static void put(int slot, float swarm, float x, float y, float phase = 0.0f) {
        fireflies[slot] = Firefly{swarm, x, y, 0, 0, 10, 0, 1, phase, 0, 0};
    }
    // Steers slot 10 both ways from the same state and expects the same outcome.
    static int both_ways() {
        static Snapshot before, after_plain;
        before.take();
        const int plain = steer_firefly(10);
        after_plain.take();
        before.restore();
        build_steering_grid();
        const int fast = steer_firefly_fast(10);
        EXPECT_EQ(plain, fast);
        EXPECT_TRUE(same_tables(after_plain.table, fireflies));
        return fast;
    }
};

TEST_F(WalkLayouts, EarlyStopTiesAndLastPartner) {
    // The stop at the lowest close slot, though a later one is nearer.
    put(700, 2, 570, 400, 3.0f);
    put(30, 2, 575, 400, 4.0f);
    put(5, 2, 515, 400, 5.0f);  // too close to pursue
    EXPECT_EQ(both_ways(), 75);
    // Ties of equal distance beyond 80: the lower slot.
    put(5, 0, 0, 0);
    put(30, 0, 0, 0);
    put(700, 0, 0, 0);
    put(900, 2, 600, 450);
    put(400, 2, 600, 350);
    EXPECT_EQ(both_ways(), 111);
    // The partner is the last candidate in range before the stop, even behind the firefly.
    swarms[1].communication = 1000;
    put(100, 2, 450, 400, 6.0f);
    put(1200, 2, 460, 400, 7.0f);
    put(800, 2, 560, 400, 8.0f);
    EXPECT_EQ(both_ways(), 60);
    EXPECT_NEAR(fireflies[10].glow_phase, 8.0f, 0.11f);
    // Small ranges search cells, large ones members from the top: both end at the same slot.
    for (int range : {1, 55, 400, 1279, 1281, 5000, 100000}) {
        swarms[1].communication = range;
        both_ways();
    }
}

TEST_F(WalkLayouts, BordersOfDistanceAndView) {
    const float near_edges[][2] = {{520, 400}, {520.00006f, 400}, {580, 400},    {579.99994f, 400},
                                   {600, 500}, {600, 499.9f},     {600, 500.1f}, {500, 300}};
    int slot = 20;
    for (const auto& p : near_edges) put(slot++, 2, p[0], p[1]);
    for (int view : {0, 1, 44, 45, 46, 90, 178, 179, 180, 181}) {
        swarms[1].field_of_view = view;
        for (int heading : {0, 44, 45, 90, 315, 359}) {
            fireflies[10].heading = static_cast<float>(heading);
            both_ways();
        }
    }
}

// The walk sees a candidate by its bearing, whose direction is rounded to single precision
// before it is truncated, so a candidate seen at the edge of the view can lie a hair beyond it.
// Such a candidate is searched for in a narrow, a wide and a nearly all-round view.
TEST_F(WalkLayouts, CandidatesAHairBeyondTheViewThatTheWalkSees) {
    for (int view : {10, 120, 179}) {
        swarms[1].field_of_view = view;
        bool found = false;
        for (int k = 0; k < 360 * 200 && !found; ++k) {
            const int heading = k % 360;
            const long double edge = (heading + view) * M_PIl / 180, d = 30 + k / 360 / 4.0L;
            put(20, 2, static_cast<float>(500 + d * std::cos(edge)),
                static_cast<float>(400 + d * std::sin(edge)));
            const long double dx = fireflies[20].x - 500.0L, dy = fireflies[20].y - 400.0L;
            const long double exact = std::atan2(dy, dx) * 180 / M_PIl;
            int b;
            bearing(b, 500, 400, fireflies[20].x, fireflies[20].y);
            found = std::abs(angle_difference(heading, b)) < view &&
                    std::fabs(std::remainder(exact - heading, 360.0L)) > view;
            fireflies[10].heading = static_cast<float>(heading);
        }
        ASSERT_TRUE(found) << view;
        EXPECT_GT(both_ways(), 0) << view;
    }
}

// The fast search starts from the previous frame's target and partner; whatever has become of
// them since, the choice is still the walk's.
TEST_F(WalkLayouts, LastFramesTargetAndPartnerNoLongerQualify) {
    swarms[1].communication = 300;
    put(50, 2, 560, 400, 3.0f);  // the close target
    put(60, 2, 520, 410, 4.0f);  // in range, above the target: not the partner
    put(40, 2, 480, 410, 5.0f);  // in range behind, below the target: the partner
    EXPECT_EQ(both_ways(), 60);
    EXPECT_NEAR(fireflies[10].glow_phase, 5.0f, 0.11f);
    // With a wider range the target itself is the last in range.
    swarms[1].communication = 700;
    both_ways();
    EXPECT_NEAR(fireflies[10].glow_phase, 3.0f, 0.11f);
    // A lower close slot appears: it ends the walk earlier.
    put(45, 2, 550, 390, 6.0f);
    both_ways();
    // The targets move out of reach and behind, and the partner leaves range.
    put(45, 2, 450, 400, 6.0f);
    put(50, 2, 700, 400, 3.0f);
    put(40, 2, 540, 460, 5.0f);
    both_ways();
    // They join another swarm, or their slots fall free.
    put(45, 3, 550, 390);
    put(50, 0, 560, 400);
    put(40, 0, 530, 420);
    both_ways();
    // The walker now follows its own swarm, and the old target was itself.
    swarms[1].target_swarm = 1;
    put(11, 1, 540, 400, 7.0f);
    both_ways();
    put(10, 0, 0, 0);
    put(11, 1, 540, 400, 7.0f);
    put(10, 1, 500, 400, 1.0f);
    both_ways();
}

// Slots off the field, at the origin, infinite or NaN are found wherever they are.
TEST_F(WalkLayouts, OddPositionsAndFreeSlots) {
    swarms[1].communication = 3000;
    put(40, 2, -50, 400, 2.0f);
    put(41, 2, 1100, 380, 2.5f);
    put(42, 2, NAN, 400);
    put(43, 2, INFINITY, 400);
    put(44, 2, 540, -1e30f);
    both_ways();
    // Target swarm 0 chases the free slots, most of them never used at (0, 0).
    swarms[1].target_swarm = 0;
    fireflies[10].x = 30;
    fireflies[10].y = 30;
    both_ways();
    fireflies[10].heading = 225;
    both_ways();
}

// A firefly that moves far within a frame, across the wrapped edge, is found where it lands,
// before slot 30, which has not moved yet and stands just beyond it: as the close target that
// ends the walk, then as the nearest target and the partner.
TEST_F(WalkLayouts, FirefliesThatMovedFarThisFrame) {
    for (float lands : {560.0f, 600.0f}) {
        SetUp();
        swarms[1].communication = 1010;  // 101 pixels
        swarms[2].target_swarm = 9;
        swarms[2].lowest_speed = 900;
        swarms[2].highest_speed = 900;
        put(5, 2, lands + 124, 400, 5.0f);  // 900 pixels along +x, less the field's width
        put(30, 2, lands + 10, 400, 3.0f);
        EXPECT_TRUE(same_step());
        EXPECT_EQ(fireflies[10].steer, lands - 500);
        EXPECT_NEAR(fireflies[10].glow_phase, 5.1f, 0.11f);
    }
}

// The partner search reaches every cell where a candidate in range may be filed: slot 5 is
// filed at x 383.5, a column of cells left of x 384 but within the range (100.9 pixels) and the
// loose reach (16) of the walker, and moves 16 pixels into range before the walker steers.
TEST_F(WalkLayouts, PartnerFiledAcrossACellBorderWithinTheLooseReach) {
    swarms[1].communication = 1009;
    swarms[2].target_swarm = 9;
    swarms[2].lowest_speed = 16;
    swarms[2].highest_speed = 16;
    put(5, 2, 383.5f, 400, 5.0f);
    EXPECT_TRUE(same_step());
    EXPECT_NEAR(fireflies[10].glow_phase, 5.1f, 0.11f);
}

// A firefly that moved into a narrow view this frame, from a cell beyond the view's own
// cells, still ends the walk before a higher slot that is also close.
TEST_F(WalkLayouts, NarrowViewReachesFirefliesThatMovedIntoIt) {
    swarms[1].field_of_view = 10;
    swarms[2] = Swarm{};
    swarms[2].lowest_speed = 12;
    swarms[2].highest_speed = 12;
    swarms[2].target_swarm = 9;
    put(10, 1, 500, 490);  // looks along +x; its view spans rows 473 to 507, all in one cell row
    put(30, 2, 560, 490);  // straight ahead, 60 away
    EXPECT_EQ(both_ways(), 60);  // the search now starts from slot 30
    put(0, 2, 565, 512.5f);      // filed in the cell row below, moves 12 up into the view
    fireflies[0].heading = 270;
    EXPECT_TRUE(same_step());
    EXPECT_EQ(fireflies[10].steer, 66.0f);
}

// A firefly that moved a little closer this frame, from a cell further out than the nearest
// candidate found so far, is still the nearest.
TEST_F(WalkLayouts, NearestSearchReachesFirefliesThatMovedCloser) {
    swarms[2] = Swarm{};
    swarms[2].lowest_speed = 14;
    swarms[2].highest_speed = 14;
    swarms[2].target_swarm = 9;
    put(10, 0, 0, 0);
    put(5, 1, 127, 96);
    put(0, 2, 257, 96);  // moves 14 pixels left before slot 5 is steered: 116 away
    fireflies[0].heading = 180;
    put(20, 2, 245, 96);  // not yet moved: 118 away
    EXPECT_TRUE(same_step());
    EXPECT_EQ(fireflies[5].steer, 116.0f);
}

// Pixels: the fast glow against the single-pixel one on random worlds, at every depth, both
// detail levels, on a background with white and out-of-range pixels, with and without the
// background copied in bands, and with a clipping rectangle.
TEST_F(FastPaths, GlowMatchesTheSinglePixelVersionAtEveryDepth) {
    init_headless(32);
    std::mt19937 rng(77);
    for (int depth : {15, 16, 24, 32}) {
        set_color_depth(depth);
        BITMAP* background = create_bitmap(SCREEN_W_PX, SCREEN_H_PX);
        BITMAP* plain = create_bitmap(SCREEN_W_PX, SCREEN_H_PX);
        BITMAP* fast = create_bitmap(SCREEN_W_PX, SCREEN_H_PX);
        for (int y = 0; y < SCREEN_H_PX; ++y) {
            for (int x = 0; x < SCREEN_W_PX; ++x) {
                const int kind = (x * 7 + y * 13) % 97;
                const int c = kind == 0 ? makecol(255, 255, 255)
                                        : makecol((x * 3) & 255, (y * 5) & 255, (x ^ y) & 255);
                putpixel(background, x, y, c);
            }
        }
        if (depth == 32) putpixel(background, 100, 100, 0xFF102030);  // a set top byte
        for (int round = 0; round < 8; ++round) {
            clear_program_state();
            random_world(rng, round * 300);
            for (int i = 0; i < 10; ++i) {
                for (int j = 0; j < 10; ++j)
                    shine_kernel[i][j] = std::uniform_int_distribution<int>(0, 10)(rng);
            }
            swarms[3].color_red = 300;
            swarms[4].color_green = -7;
            const bool low_detail = round % 2 == 1;
            const bool banded = round % 4 < 2;
            const bool clipped = round == 7;
            blit(background, plain, 0, 0, 0, 0, SCREEN_W_PX, SCREEN_H_PX);
            if (clipped) set_clip_rect(plain, 40, 30, 700, 500);
            draw_fireflies(plain, low_detail);
            if (banded && !clipped) {
                clear_bitmap(fast);
                draw_fireflies_fast(fast, low_detail, background);
            } else {
                blit(background, fast, 0, 0, 0, 0, SCREEN_W_PX, SCREEN_H_PX);
                if (clipped) set_clip_rect(fast, 40, 30, 700, 500);
                draw_fireflies_fast(fast, low_detail);
            }
            int differing = 0;
            for (int y = 0; y < SCREEN_H_PX; ++y) {
                for (int x = 0; x < SCREEN_W_PX; ++x)
                    differing += getpixel(plain, x, y) != getpixel(fast, x, y);
            }
            EXPECT_EQ(differing, 0) << "depth " << depth << " round " << round;
            set_clip_rect(plain, 0, 0, SCREEN_W_PX - 1, SCREEN_H_PX - 1);
            set_clip_rect(fast, 0, 0, SCREEN_W_PX - 1, SCREEN_H_PX - 1);
        }
        destroy_bitmap(background);
        destroy_bitmap(plain);
        destroy_bitmap(fast);
    }
    set_color_depth(32);
}

// A picture big enough for the glow and the background copy to share their bands between two
// threads comes out byte for byte as on one thread and as the single-pixel version draws it,
// at both details and at 32 and 16 bits.
TEST_F(FastPaths, GlowOnTwoThreadsMatchesOneOnABigField) {
    init_headless(32);
    std::mt19937 rng(4096);
    for (int depth : {32, 16}) {
        set_color_depth(depth);
        set_field(3840, 2160, 20000);
        BITMAP* background = create_bitmap(field_w_px, field_h_px);
        BITMAP* plain = create_bitmap(field_w_px, field_h_px);
        BITMAP* one = create_bitmap(field_w_px, field_h_px);
        BITMAP* two = create_bitmap(field_w_px, field_h_px);
        ASSERT_TRUE(background && plain && one && two);
        for (int y = 0; y < field_h_px; ++y) {
            for (int x = 0; x < field_w_px; ++x)
                putpixel(background, x, y, makecol((x * 3) & 255, (y * 5) & 255, (x ^ y) & 255));
        }
        for (const bool low_detail : {false, true}) {
            random_world(rng, 20000);
            // Crowds that saturate and a band boundary crossed by many lights.
            for (int i = 0; i < 3000; ++i) {
                fireflies[i].x = 1000.0f + static_cast<float>(i % 50);
                fireflies[i].y = 1019.0f + static_cast<float>(i % 13);
            }
            blit(background, plain, 0, 0, 0, 0, field_w_px, field_h_px);
            draw_fireflies(plain, low_detail);
            set_drawing_threads(1);
            draw_fireflies_fast(one, low_detail, background);
            set_drawing_threads(2);
            draw_fireflies_fast(two, low_detail, background);
            const int row_bytes = field_w_px * ((depth + 7) / 8);
            int differing_rows = 0;
            for (int y = 0; y < field_h_px; ++y) {
                differing_rows += std::memcmp(one->line[y], two->line[y], row_bytes) != 0;
                differing_rows += std::memcmp(plain->line[y], two->line[y], row_bytes) != 0;
            }
            EXPECT_EQ(differing_rows, 0) << "depth " << depth << " low detail " << low_detail;
        }
        destroy_bitmap(background);
        destroy_bitmap(plain);
        destroy_bitmap(one);
        destroy_bitmap(two);
    }
    set_color_depth(32);
}
