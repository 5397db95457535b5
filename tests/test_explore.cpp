// Random swarms (R), mutation (X), undo (Z) and redo (Y) of the swarm table.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "files/settings_file.h"
#include "sim/random.h"
#include "sim/world.h"
#include "tests/support.h"
#include "ui/explore.h"
#include "ui/file_requests.h"
#include "ui/folders.h"
#include "ui/input.h"
#include "ui/interface_state.h"
#include "ui/keyboard.h"
#include "ui/settings_file.h"
#include "ui/undo.h"

namespace {

// The ranges the guide gives for random swarms.
struct Range {
    int32_t Swarm::*member;
    int32_t lo, hi;
};
const Range DOCUMENTED[] = {
    {&Swarm::population, 40, 220},
    {&Swarm::turning_speed, 3, 10},
    {&Swarm::field_of_view, 30, 90},
    {&Swarm::highest_speed, 2, 10},
    {&Swarm::lowest_speed, 1, 9},
    {&Swarm::acceleration, 1, 5},
    {&Swarm::braking, 1, 3},
    {&Swarm::color_red, 20, 255},
    {&Swarm::color_green, 20, 255},
    {&Swarm::color_blue, 20, 255},
    {&Swarm::communication, 500, 5000},
    {&Swarm::target_swarm, 1, 9},
};

std::string table_text() {
    return std::string(reinterpret_cast<const char*>(swarms), sizeof swarms);
}

class Explore : public ::testing::Test {
  protected:
    void SetUp() override {
        init_headless(32);
        clear_program_state();
        dir = make_temp_dir();
        file_places.settings_path = dir + "/lmr.sav";
        file_places.media_dir = dir;
    }
    void TearDown() override {
        clear_program_state();
        std::system(("rm -rf '" + dir + "'").c_str());
    }
    // One keyboard frame with these keys held, after the keyboard has rested with every key up.
    static void press(std::initializer_list<int> keys) {
        InputSnapshot up;
        while (key_cooldown < KEY_REPEAT_FRAMES) step(up);
        step(up);
        InputSnapshot in;
        for (int k : keys) in.held[k] = true;
        step(in);
    }
    static void step(const InputSnapshot& in) {
        ask_for_files(in);
        serve_file_requests(FileMoment::KEYS);
        handle_keyboard(in);
    }
    std::string dir;
};

}  // namespace

TEST_F(Explore, RandomSwarmsAndMutationsStayWithinTheDocumentedRanges) {
    for (uint32_t seed = 0; seed < 400; ++seed) {
        std::memset(swarms, 0x5a, sizeof swarms);  // what must stay: record 0 and the spares
        const std::string before = table_text();
        seed_explore(seed);
        random_swarms(swarms);
        int64_t total = 0;
        for (int s = 1; s < SWARM_COUNT; ++s) {
            Swarm& w = swarms[s];
            for (const Range& r : DOCUMENTED) {
                ASSERT_GE(w.*r.member, r.lo) << seed << " swarm " << s;
                ASSERT_LE(w.*r.member, r.hi) << seed << " swarm " << s;
            }
            ASSERT_LT(w.lowest_speed, w.highest_speed) << seed;
            ASSERT_EQ(std::max({w.color_red, w.color_green, w.color_blue}), 255) << seed;
            total += w.population;
            for (int f : {0, 13, 14, 15, 16, 17, 18, 19})
                ASSERT_EQ(swarm_field(w, f), 0x5a5a5a5a) << "a spare field stays";
        }
        ASSERT_LE(total, MAX_FIREFLIES) << seed;
        ASSERT_EQ(std::memcmp(&swarms[0], before.data(), sizeof(Swarm)), 0) << "record 0 stays";
        // A walk of mutations stays within the ranges and keeps the population and the target.
        for (int n = 0; n < 50; ++n) {
            const int s = 1 + (n + static_cast<int>(seed)) % 9;
            const Swarm was = swarms[s];
            mutate_swarm(swarms[s]);
            const Swarm& w = swarms[s];
            for (const Range& r : DOCUMENTED) {
                ASSERT_GE(w.*r.member, r.lo) << seed;
                ASSERT_LE(w.*r.member, r.hi) << seed;
            }
            ASSERT_LE(w.lowest_speed, w.highest_speed);
            ASSERT_EQ(w.population, was.population);
            ASSERT_EQ(w.target_swarm, was.target_swarm);
        }
    }
    // A value a file brought from outside the range goes no further out, and a mutation is a
    // small step: at most one step of each field.
    swarms[2] = Swarm{};
    swarms[2].field_of_view = 300;
    swarms[2].communication = 100;
    for (int n = 0; n < 200; ++n) {
        const Swarm was = swarms[2];
        mutate_swarm(swarms[2]);
        ASSERT_LE(swarms[2].field_of_view, 300);
        ASSERT_GE(swarms[2].communication, 100);
        ASSERT_LE(std::abs(swarms[2].field_of_view - was.field_of_view), 5);
        ASSERT_LE(std::abs(swarms[2].communication - was.communication), 250);
    }
    EXPECT_LT(swarms[2].field_of_view, 300) << "a walk comes back into the range";
}

// R and X draw from the explorer's generator only: the flight's sequence is where it was, and
// the same seed gives the same tables.
TEST_F(Explore, ExploringLeavesTheFlightsRandomSequence) {
    const auto explore = [] {
        clear_program_state();
        seed_random(9);
        seed_explore(9);
        press({KEY_R});
        EXPECT_STREQ(status_text, "random swarms");
        selected_swarm = 4;
        press({KEY_X});
        EXPECT_STREQ(status_text, "mutated swarm 4");
        EXPECT_EQ(random_state, (seed_random(9), random_state))
            << "the flight's draws are untouched";
        return table_text();
    };
    const std::string first = explore();
    EXPECT_EQ(explore(), first);
    EXPECT_NE(first, std::string(sizeof swarms, '\0'));
}

// Z and Y go back and forth over edits (a run of edits to one row is one step), a load, a
// preset, random swarms and a mutation, each time to exactly the table before or after.
TEST_F(Explore, UndoAndRedoReturnExactlyTheEarlierTables) {
    int32_t values[SETTINGS_VALUES];
    for (int n = 0; n < SETTINGS_VALUES; ++n) values[n] = n % 7;
    std::memcpy(swarms, values, sizeof swarms);
    ASSERT_TRUE(save_swarms(file_places.settings_path.c_str()));
    mkdir((dir + "/presets").c_str(), 0755);
    for (int n = 0; n < SETTINGS_VALUES; ++n) values[n] = n % 11;
    std::memcpy(swarms, values, sizeof swarms);
    ASSERT_TRUE(save_swarms((dir + "/presets/2-two.sav").c_str()));
    std::memset(swarms, 0, sizeof swarms);

    std::vector<std::string> tables{table_text()};
    press({KEY_ENTER});
    for (int n = 0; n < 3; ++n) press({KEY_RIGHT});  // population of swarm 1: 3
    tables.push_back(table_text());
    press({KEY_DOWN});
    for (int n = 0; n < 2; ++n) press({KEY_6_PAD});  // turning speed: 20
    tables.push_back(table_text());
    for (int key : {KEY_L, KEY_2, KEY_R, KEY_X, KEY_LEFT}) {
        press({key});
        tables.push_back(table_text());
    }
    for (size_t i = 1; i < tables.size(); ++i) ASSERT_NE(tables[i], tables[i - 1]) << i;

    press({KEY_Z});
    EXPECT_EQ(table_text(), tables[tables.size() - 2]);
    EXPECT_EQ(std::string(status_text),
              "undo: swarm 1 Turning Speed: " + std::to_string(swarms[1].turning_speed));
    for (size_t i = tables.size() - 2; i-- > 0;) {
        press({KEY_Z});
        EXPECT_EQ(table_text(), tables[i]) << i;
        EXPECT_EQ(std::string(status_text).rfind("undo: ", 0), 0u) << status_text;
    }
    EXPECT_STREQ(status_text, "undo: SWARM 1: 0 Fireflies");
    press({KEY_Z});
    EXPECT_STREQ(status_text, "nothing to undo");
    EXPECT_EQ(table_text(), tables[0]);
    const char* redone[] = {"",
                            "redo: SWARM 1: 3 Fireflies",
                            "redo: swarm 1 Turning Speed: 20",
                            "redo: load",
                            "redo: preset 2",
                            "redo: random swarms",
                            "redo: mutation of swarm 1"};
    for (size_t i = 1; i < tables.size(); ++i) {
        press({KEY_Y});
        EXPECT_EQ(table_text(), tables[i]) << i;
        if (i < 7) {
            EXPECT_STREQ(status_text, redone[i]);
        }
    }
    press({KEY_Y});
    EXPECT_STREQ(status_text, "nothing to redo");
    // A change after an undo forgets what was undone; an edit after an undo is a step of its own.
    press({KEY_Z});
    press({KEY_LEFT});
    press({KEY_Y});
    EXPECT_STREQ(status_text, "nothing to redo");
    press({KEY_Z});
    EXPECT_EQ(table_text(), tables[tables.size() - 2]);
    EXPECT_EQ(read_file(file_places.settings_path).size() > 0, true) << "the file stays";
}

TEST_F(Explore, UndoKeepsTheLast128Steps) {
    std::vector<std::string> tables{table_text()};
    for (int n = 0; n < 130; ++n) {
        press({KEY_R});
        tables.push_back(table_text());
    }
    for (int n = 0; n < UNDO_STEPS; ++n) {
        press({KEY_Z});
        ASSERT_EQ(table_text(), tables[129 - n]) << n;
    }
    press({KEY_Z});
    EXPECT_STREQ(status_text, "nothing to undo");
    EXPECT_EQ(table_text(), tables[2]);
}
