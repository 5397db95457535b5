#include <allegro.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "app/shell.h"
#include "sim/random.h"
#include "sim/world.h"
#include "tests/support.h"
#include "ui/file_requests.h"
#include "ui/folders.h"
#include "ui/input.h"
#include "ui/input_keys.h"
#include "ui/interface_state.h"
#include "ui/session.h"
#include "ui/settings_file.h"

class Frame : public ::testing::Test {
  protected:
    void SetUp() override {
        init_headless(32);
        clear_program_state();
        seed_random(5);
        dir = make_temp_dir();
        path = dir + "/lmr.sav";
        file_places.settings_path = path;
        swarms[1].population = 20;
        swarms[1].highest_speed = 3;
        swarms[1].lowest_speed = 1;
        swarms[1].turning_speed = 6;
        swarms[1].field_of_view = 90;
        swarms[1].target_swarm = 1;
        swarms[1].communication = 300;
        save_swarms(file_places.settings_path.c_str());
        status_frames = 0;
    }
    void TearDown() override {
        file_places.settings_path = "lmr.sav";
        std::system(("rm -rf '" + dir + "'").c_str());
    }
    static void frames(int n, const InputSnapshot& in = InputSnapshot()) {
        FrameOptions no_draw;
        no_draw.draw = false;
        for (int i = 0; i < n; ++i) run_frame(nullptr, in, no_draw);
    }
    std::string dir, path;
};

TEST_F(Frame, ResetWorldFreesEverySlotAndTouchesNothingElse) {
    for (int i = 0; i < MAX_FIREFLIES; ++i) fireflies[i] = Firefly{3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 1};
    std::memset(swarms, 0, sizeof swarms);
    reset_world();
    for (const Firefly& f : slots_in_use()) {
        ASSERT_EQ(f.swarm, 0.0f);
        ASSERT_EQ(f.x, 1.0f);
        ASSERT_EQ(f.wander_side, 1.0f);
    }
    EXPECT_EQ(swarms[1].population, 20);
    EXPECT_STREQ(status_text, "loading succesful");
}

TEST_F(Frame, StatusMessageLastsExactlyOneHundredFrames) {
    set_status("pause");
    frames(99);
    EXPECT_EQ(status_frames, 1);
    frames(1);
    EXPECT_EQ(status_frames, 0);
    frames(1);
    EXPECT_EQ(status_frames, 0);
}

// Pausing stops steering and motion only; population control and the tools go on.
// While paused the fireflies and the synchrony graph's history stand still; population edits
// still act.
TEST_F(Frame, PauseFreezesFirefliesAndGraphButNotPopulation) {
    frames(30);
    Firefly before[MAX_FIREFLIES];
    std::memcpy(before, fireflies, sizeof before);
    static OrderHistory history_before;
    history_before = watch.order_history;
    paused = 1;
    frames(5);
    EXPECT_EQ(0, std::memcmp(before, fireflies, sizeof before));
    swarms[1].population = 25;
    frames(1);
    EXPECT_EQ(0, std::memcmp(&history_before, &watch.order_history, sizeof watch.order_history));
    int live = 0;
    for (const Firefly& f : slots_in_use()) live += is_live(f);
    EXPECT_EQ(live, 25);
    EXPECT_EQ(fireflies[24].speed, 0.0f) << "a newcomer stands still while paused";
    paused = 0;
    frames(1);
    EXPECT_NE(fireflies[24].speed, 0.0f);
    EXPECT_EQ(watch.order_history.count, history_before.count + 1);
}

// N while paused flies exactly the frame an unpaused run flies: the same fireflies, graph and
// sound; and only one, however long it is held.
TEST_F(Frame, StepWhilePausedIsOneFrameOfAnUnpausedRun) {
    const auto run = [&](int key) {
        clear_program_state();
        seed_random(5);
        file_places.settings_path = path;
        reset_world();
        InputSnapshot pause, other;
        pause.held[KEY_P] = true;
        other.held[key] = true;
        FrameOptions options;
        options.draw = false;
        options.sound = true;
        for (int i = 0; i < 30; ++i) run_frame(nullptr, InputSnapshot(), options);
        run_frame(nullptr, pause, options);
        for (int i = 0; i < 11; ++i) run_frame(nullptr, InputSnapshot(), options);
        run_frame(nullptr, other, options);  // N flies one frame; P unpauses and flies it
        std::string state(reinterpret_cast<const char*>(fireflies), sizeof fireflies);
        state.append(reinterpret_cast<const char*>(&watch.order_history),
                     sizeof watch.order_history);
        state.append(reinterpret_cast<const char*>(&watch.sound), sizeof watch.sound);
        return state;
    };
    const std::string stepped = run(KEY_N);
    EXPECT_EQ(paused, 1);
    EXPECT_EQ(stepped, run(KEY_P));
    Firefly after[MAX_FIREFLIES];
    run(KEY_N);
    std::memcpy(after, fireflies, sizeof after);
    InputSnapshot n;
    n.held[KEY_N] = true;
    frames(20, n);
    EXPECT_EQ(std::memcmp(after, fireflies, sizeof after), 0) << "a held N flies one frame";
}

// The lure placed by the mouse at the end of a frame is steered and moved from the next one.
TEST_F(Frame, LureIsSimulatedFromTheNextFrame) {
    frames(10);
    InputSnapshot lure;
    lure.mouse_x = 512;
    lure.mouse_y = 384;
    lure.mouse_b = MOUSE_LEFT;
    selected_swarm = 1;
    frames(1, lure);
    EXPECT_EQ(fireflies[0].x, 512.0f);
    EXPECT_EQ(fireflies[0].y, 384.0f);
    frames(1);
    EXPECT_NE(fireflies[0].x == 512.0f && fireflies[0].y == 384.0f, true);
}

TEST_F(Frame, SteerHoldsWholePixelsOfAtLeastTwenty) {
    frames(200);
    int pursuing = 0;
    for (const Firefly& f : slots_in_use()) {
        if (!is_live(f)) continue;
        EXPECT_TRUE(f.steer == 0.0f || (f.steer >= 20.0f && f.steer == static_cast<int>(f.steer)));
        pursuing += f.steer > 0.0f;
        EXPECT_GE(f.heading, 0.0f);
        EXPECT_LT(f.heading, 360.0f);
        EXPECT_GE(f.x, 0.0f);
        EXPECT_LT(f.x, 1024.0f);
    }
    EXPECT_GT(pursuing, 0);
}

// While SPACE is held the background is not repainted, so light adds up into trails.
TEST_F(Frame, SpaceKeepsTheLastPicture) {
    const char* failed = nullptr;
    ASSERT_TRUE(load_startup_media(LUMORA_ASSETS_DIR, failed));
    ASSERT_TRUE(load_loop_pictures(LUMORA_ASSETS_DIR, failed));
    fill_shine_kernel();
    BITMAP* bmp = create_bitmap(SCREEN_W_PX, SCREEN_H_PX);
    clear_to_color(bmp, makecol(1, 2, 3));
    InputSnapshot trails;
    trails.held[KEY_SPACE] = true;
    swarms[1].population = 0;
    run_frame(bmp, trails, FrameOptions());
    EXPECT_EQ(getpixel(bmp, 700, 400), makecol(1, 2, 3));
    run_frame(bmp, InputSnapshot(), FrameOptions());
    EXPECT_NE(getpixel(bmp, 700, 400), makecol(1, 2, 3));
    destroy_bitmap(bmp);
}

// A replay keeps only the keys of the input table, so a frame must read no other: with every
// other key held, a run goes exactly as with none.
TEST_F(Frame, KeysOutsideTheInputTableChangeNothing) {
    InputSnapshot others;
    for (bool& held : others.held) held = true;
    for (const int code : INPUT_KEY_CODES) others.held[code] = false;
    EXPECT_EQ(std::set<int>(std::begin(INPUT_KEY_CODES), std::end(INPUT_KEY_CODES)).size(),
              size_t{INPUT_KEY_COUNT})
        << "each name of the table is a key of its own";
    const auto run = [&](const InputSnapshot& in) {
        clear_program_state();
        seed_random(5);
        file_places.settings_path = path;
        reset_world();
        frames(40, in);
        std::string state(reinterpret_cast<const char*>(fireflies),
                          firefly_capacity * sizeof(Firefly));
        state.append(reinterpret_cast<const char*>(swarms), sizeof swarms).append(status_text);
        for (int32_t v :
             {selected_swarm, selected_row, panel_visible, paused, low_detail,
              additions.graph_visible, additions.help_visible, int32_t{file_requests.picture},
              int32_t{file_requests.replay}, key_cooldown, mouse_tool})
            state += " " + std::to_string(v);
        return state;
    };
    EXPECT_EQ(run(others), run(InputSnapshot{}));
}

// F9 that cannot write says so and the session goes on; pressed again once the folder is
// there, it keeps the whole session, the failure included.
TEST_F(Frame, FailedReplayIsKeptLaterWithItsFailure) {
    const std::string missing = dir + "/missing/lmr.sav";
    file_places.settings_path = missing;
    keep_session();
    InputSnapshot f9;
    f9.held[KEY_F9] = true;
    frames(10);
    frames(1, f9);
    EXPECT_STREQ(status_text, "replay failed");
    file_places.settings_path = path;
    frames(9);
    frames(1, f9);
    EXPECT_STREQ(status_text, "replay saved lumora-0001.replay");
    const std::string replay = read_file(dir + "/lumora-0001.replay");
    EXPECT_NE(replay.find("\nframes 21\n"), std::string::npos) << replay;
    EXPECT_NE(replay.find("\nreplay 11 failed 100 replay failed\nreplay 21 ok 100 replay saved "
                          "lumora-0001.replay\n"),
              std::string::npos);
    EXPECT_NE(replay.find("\ninput\n0 - 0 0 0\n11 F9 0 0 0\n12 - 0 0 0\n21 F9 0 0 0\nend\n"),
              std::string::npos);
}
