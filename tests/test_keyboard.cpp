#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "render/panel.h"
#include "sim/world.h"
#include "tests/support.h"
#include "ui/file_requests.h"
#include "ui/folders.h"
#include "ui/input.h"
#include "ui/interface_state.h"
#include "ui/keyboard.h"
#include "ui/preset.h"
#include "ui/settings_file.h"

class Keyboard : public ::testing::Test {
  protected:
    void SetUp() override {
        init_headless(32);
        clear_program_state();
        dir = make_temp_dir();
        path = dir + "/lmr.sav";
        file_places.settings_path = path;
    }
    void TearDown() override {
        clear_program_state();
        std::system(("rm -rf '" + dir + "'").c_str());
    }
    // One frame's keyboard step with these keys held, and the settings files it asked for.
    static void frame(std::initializer_list<int> keys = {}) {
        InputSnapshot in;
        for (int k : keys) in.held[k] = true;
        ask_for_files(in);
        serve_file_requests(FileMoment::KEYS);
        handle_keyboard(in);
    }
    // Runs idle frames until the keyboard is open again.
    static void open_keyboard() {
        while (key_cooldown < KEY_REPEAT_FRAMES) frame();
    }
    static void show_panel() {
        open_keyboard();
        frame({KEY_ENTER});
        open_keyboard();
    }
    std::string dir, path;
};

TEST_F(Keyboard, NothingActsInTheFirstTenFrames) {
    for (int i = 0; i < 10; ++i) frame({KEY_ENTER, KEY_P, KEY_G, KEY_F1, KEY_F12});
    EXPECT_EQ(panel_visible + paused + additions.graph_visible + additions.help_visible +
                  file_requests.picture,
              0);
    frame({KEY_ENTER, KEY_P, KEY_G, KEY_F1, KEY_F12});
    EXPECT_EQ(panel_visible, 1);
    EXPECT_EQ(paused, 1);
    EXPECT_EQ(additions.graph_visible, 1);
    EXPECT_EQ(additions.help_visible, 1);
    EXPECT_TRUE(file_requests.picture) << "the frame saves the picture once it is drawn";
    EXPECT_EQ(key_cooldown, 1);
    open_keyboard();
    frame({KEY_G});
    EXPECT_EQ(additions.graph_visible, 0);
    for (int i = 0; i < 500; ++i) frame();
    EXPECT_EQ(key_cooldown, 200);
}

TEST_F(Keyboard, HeldKeyRepeatsEveryTenFrames) {
    show_panel();
    swarms[1].population = 5;
    for (int i = 0; i < 100; ++i) frame({KEY_RIGHT});
    EXPECT_EQ(swarms[1].population, 15);
}

// The program's own keys act once a press however long they are held, where a panel key held as
// long repeats every ten frames; replays kept before that rule play them repeating.
TEST_F(Keyboard, OwnKeysActOnceAPressWhilePanelKeysRepeat) {
    show_panel();
    const auto actions_while_held = [](int key) {
        open_keyboard();
        int actions = 0;
        for (int i = 0; i < 40; ++i) {
            frame({key});
            actions += key_cooldown == 1 ? 1 : 0;
        }
        frame();
        return actions;
    };
    for (int key : {KEY_G, KEY_F1, KEY_M, KEY_F12, KEY_F9, KEY_3, KEY_G})
        EXPECT_EQ(actions_while_held(key), 1) << key;
    EXPECT_EQ(additions.graph_visible, 0) << "G pressed twice";
    EXPECT_EQ(actions_while_held(KEY_RIGHT), 4);
    additions.own_keys_repeat = true;
    EXPECT_EQ(actions_while_held(KEY_G), 4);
}

TEST_F(Keyboard, OneValueActionPerFrameWithTheLastKeyWinning) {
    show_panel();
    struct Case {
        std::initializer_list<int> keys;
        int start, expected;
    } cases[] = {
        {{KEY_RIGHT, KEY_6_PAD}, 20, 30},
        {{KEY_LEFT, KEY_RIGHT}, 20, 19},
        {{KEY_4_PAD, KEY_LEFT, KEY_RIGHT}, 20, 10},
        {{KEY_6_PAD, KEY_4_PAD}, 20, 30},
        {{KEY_LEFT}, 0, 0},
        {{KEY_4_PAD}, 9, 9},
        {{KEY_4_PAD}, 10, 0},
        {{KEY_4_PAD}, 25, 15},
        {{KEY_LEFT}, -5, -5},
        {{KEY_RIGHT}, -5, -4},
        {{KEY_RIGHT}, INT_MAX, INT_MAX},
        {{KEY_6_PAD}, INT_MAX - 5, INT_MAX},
    };
    for (const Case& c : cases) {
        swarms[1].population = c.start;
        open_keyboard();
        frame(c.keys);
        EXPECT_EQ(swarms[1].population, c.expected) << c.start;
        EXPECT_EQ(key_cooldown, 1) << "an action closes the keyboard even when nothing changed";
    }
}

TEST_F(Keyboard, RowsWrapAndPickTheirFields) {
    show_panel();
    frame({KEY_UP});
    EXPECT_EQ(selected_row, 11);
    open_keyboard();
    frame({KEY_2_PAD});
    EXPECT_EQ(selected_row, 0);
    open_keyboard();
    frame({KEY_DOWN, KEY_8_PAD});
    EXPECT_EQ(selected_row, 0);
    // The value edited is the field of the row held on entry to the frame.
    open_keyboard();
    frame({KEY_DOWN, KEY_RIGHT});
    EXPECT_EQ(swarms[1].population, 1);
    EXPECT_EQ(swarms[1].turning_speed, 0);
    EXPECT_EQ(selected_row, 1);
}

// Each panel line edits the value it shows under its label, and the twelve lines together edit
// every parameter once; the unused fields are never touched.
TEST_F(Keyboard, EachLineEditsTheParameterItNames) {
    const std::map<int, std::string> label_of_field = {
        {1, "Highest Speed"}, {2, "Lowest Speed"}, {3, "Turning Speed"}, {4, "Field of View"},
        {5, "Acceleration"},  {6, "Braking"},      {7, "Color Red"},     {8, "Color Green"},
        {9, "Color Blue"},    {10, "Fireflies"},   {11, "Target Swarm"}, {12, "Communication"},
    };
    show_panel();
    std::set<int> edited;
    for (int row = 0; row < PANEL_ROWS; ++row) {
        const Swarm before = swarms[1];
        selected_row = row;
        open_keyboard();
        frame({KEY_6_PAD});
        std::vector<int> changed;
        for (int f = 0; f < SWARM_FIELDS; ++f) {
            if (swarm_field(swarms[1], f) != swarm_field(before, f)) changed.push_back(f);
        }
        ASSERT_EQ(changed.size(), 1u) << "line " << row;
        ASSERT_TRUE(label_of_field.count(changed[0])) << "line " << row << " edits an unused field";
        EXPECT_NE(
            std::string(SWARM_FIELD_TABLE[row].panel_format).find(label_of_field.at(changed[0])),
            std::string::npos)
            << "line " << row << " shows '" << SWARM_FIELD_TABLE[row].panel_format << "'";
        EXPECT_EQ(swarms[1].*SWARM_FIELD_TABLE[row].member, swarm_field(swarms[1], changed[0]));
        edited.insert(changed[0]);
    }
    EXPECT_EQ(edited.size(), 12u);
}

TEST_F(Keyboard, SwarmChoiceStopsAtOneAndNine) {
    open_keyboard();
    frame({KEY_PGUP});
    EXPECT_EQ(selected_swarm, 1);
    for (int i = 0; i < 12; ++i) {
        open_keyboard();
        frame({KEY_PGDN});
    }
    EXPECT_EQ(selected_swarm, 9);
    open_keyboard();
    frame({KEY_PGDN, KEY_PGUP});
    EXPECT_EQ(selected_swarm, 9);
    open_keyboard();
    frame({KEY_ENTER, KEY_PGDN, KEY_RIGHT});  // shows the panel and edits swarm 9 at once
    EXPECT_EQ(swarms[9].population, 1);
}

TEST_F(Keyboard, PanelKeysSleepWhileThePanelIsHidden) {
    open_keyboard();
    const int cooldown = key_cooldown;
    frame({KEY_DOWN, KEY_RIGHT, KEY_6_PAD, KEY_UP});
    EXPECT_EQ(selected_row, 0);
    EXPECT_EQ(swarms[1].population, 0);
    EXPECT_EQ(key_cooldown, cooldown + 1);
    frame({KEY_ENTER, KEY_DOWN});
    EXPECT_EQ(panel_visible, 1);
    EXPECT_EQ(selected_row, 1);
}

TEST_F(Keyboard, MessagesForPauseDetailSaveAndLoad) {
    open_keyboard();
    frame({KEY_P});
    EXPECT_STREQ(status_text, "pause");
    EXPECT_EQ(status_frames, 100);
    status_frames = 7;
    open_keyboard();
    frame({KEY_P});
    EXPECT_EQ(paused, 0);
    EXPECT_EQ(status_frames, 7) << "resuming sets no message";
    open_keyboard();
    frame({KEY_D});
    EXPECT_STREQ(status_text, "low detail");
    open_keyboard();
    frame({KEY_D});
    EXPECT_STREQ(status_text, "high detail");
    EXPECT_EQ(low_detail, 0);

    // The last message of a frame wins.
    open_keyboard();
    frame({KEY_S, KEY_P});
    EXPECT_STREQ(status_text, "pause");
    swarms[2].color_red = 77;
    open_keyboard();
    frame({KEY_S, KEY_L});
    EXPECT_STREQ(status_text, "loading succesful");
    EXPECT_EQ(swarms[2].color_red, 77);
    swarms[2].color_red = 5;
    open_keyboard();
    frame({KEY_L});
    EXPECT_EQ(swarms[2].color_red, 77);
}

// Key N loads the preset whose name starts with "N-" and ends in ".sav", all or nothing, and
// names it on the status line; S still saves to the settings file.
TEST_F(Keyboard, NumberKeysLoadPresetsAllOrNothing) {
    const std::string presets = dir + "/presets";
    mkdir(presets.c_str(), 0755);
    file_places.media_dir = dir;  // the presets live beside the media
    const auto table = [](int population) {
        std::string text;
        for (int n = 0; n < SETTINGS_VALUES; ++n)
            text += n == 30 ? std::to_string(population) + "\n" : "1\n";
        return text;
    };
    write_file(presets + "/3-ring-of-one.sav", table(333));
    write_file(presets + "/3-second.sav", table(999));  // sorts after 3-ring-of-one.sav
    write_file(presets + "/13-other.sav", table(999));
    write_file(presets + "/4-broken.sav", table(444).substr(0, 40));
    write_file(presets + "/5-wrong.txt", table(555));

    open_keyboard();
    frame({KEY_3});
    EXPECT_STREQ(status_text, "loaded 3 ring of one");
    EXPECT_EQ(swarms[1].population, 333);
    for (int key : {KEY_4, KEY_5, KEY_1}) {
        set_status("");
        open_keyboard();
        frame({key});
        EXPECT_STREQ(status_text, "loading failed") << key;
        EXPECT_EQ(swarms[1].population, 333) << key;
    }
    open_keyboard();
    frame({KEY_S});
    EXPECT_EQ(read_file(path), table(333));
    const std::string absent = dir + "/absent";
    file_places.media_dir = absent;
    open_keyboard();
    frame({KEY_3});
    EXPECT_STREQ(status_text, "loading failed");

    // 0 loads preset 10, and a number key with 0 held the preset ten above its own.
    file_places.media_dir = dir;
    write_file(presets + "/10-crowd.sav", table(1010));
    open_keyboard();
    frame({KEY_0});
    EXPECT_STREQ(status_text, "loaded 10 crowd");
    EXPECT_EQ(swarms[1].population, 1010);
    open_keyboard();
    frame({KEY_0, KEY_3});
    EXPECT_STREQ(status_text, "loaded 13 other");
    EXPECT_EQ(swarms[1].population, 999);
}

// On a table of more than 2000 slots the ten-step keys of the population row grow with the
// population, and going down retraces going up; on the default table, and on every other row,
// they step by ten at any value.
TEST_F(Keyboard, PopulationStepsGrowOnlyOnABigTable) {
    show_panel();
    auto step = [&](int key, int start, int row = 0) {
        selected_row = row;
        int32_t& value = swarms[1].*SWARM_FIELD_TABLE[row].member;
        value = start;
        open_keyboard();
        frame({key});
        return value;
    };
    EXPECT_EQ(step(KEY_6_PAD, 5000), 5010);
    set_field(SCREEN_W_PX, SCREEN_H_PX, 50000);
    const int up[][2] = {{0, 10},        {1990, 2000},   {2000, 2100},
                         {19900, 20000}, {20000, 21000}, {49000, 50000}};
    for (const auto& [from, to] : up) {
        EXPECT_EQ(step(KEY_6_PAD, from), to) << from;
        EXPECT_EQ(step(KEY_4_PAD, to), from) << to;
    }
    EXPECT_EQ(step(KEY_4_PAD, 2050), 1950);
    EXPECT_EQ(step(KEY_4_PAD, 5), 5);
    EXPECT_EQ(step(KEY_6_PAD, 5000, 10), 5010) << "the communication row";
    set_field(SCREEN_W_PX, SCREEN_H_PX, MAX_FIREFLIES);
}
