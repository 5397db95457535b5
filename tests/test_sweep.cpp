// Sweeps: the sweep file's errors, the order and seeds of the runs, one run against the
// headless runner, and picking up a table that a kill cut short.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "headless/trace.h"
#include "sweep/fingerprint.h"
#include "sweep/plan.h"
#include "sweep/resume.h"
#include "sweep/run.h"
#include "sweep/sweep_file.h"
#include "tests/support.h"
#include "ui/settings_file.h"

static bool read_text(const std::string& text, SweepFile& sweep, std::string& error,
                      bool force = false) {
    return read_sweep_file(text, "s.txt", force, sweep, error);
}

// Every broken line stops the reading with the file, the line and what is wrong with it.
TEST(SweepFile, BrokenLinesAreNamed) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"settings a.sav\nvary 3 speed 1\n",
         "s.txt:2: unknown field 'speed' (fields: population turning_speed field_of_view "
         "highest_speed lowest_speed acceleration braking red green blue communication "
         "target_swarm)"},
        {"settings a.sav\n# note\nvary 10 red 1\n", "s.txt:3: swarm 10 is outside 1 to 9"},
        {"vary 0-3 red 1\n", "s.txt:1: swarm 0 is outside 1 to 9"},
        {"vary 5-2 red 1\n", "s.txt:1: the swarm range 5-2 is empty"},
        {"vary x red 1\n", "s.txt:1: swarms 'x' are not a swarm number 1 to 9, a range a-b or all"},
        {"vary 1 red 5:1:1\n", "s.txt:1: the range 5:1:1 is empty"},
        {"vary 1 red 1:5:-1\n", "s.txt:1: the range 1:5:-1 is empty"},
        {"vary 1 red 1:5:0\n", "s.txt:1: the range 1:5:0 has step 0"},
        {"vary 1 red 1:5\n", "s.txt:1: '1:5' is not a whole number or a range a:b:step"},
        {"vary 1 red 2147483648\n", "s.txt:1: '2147483648' is outside the 32-bit range"},
        {"vary 1 red\n", "s.txt:1: vary takes swarms, a field and at least one value"},
        {"vary all red 1 2\nvary 4 red 3\n", "s.txt:2: swarm 4's red is varied on line 1 already"},
        {"frames 10\nframes 20\n", "s.txt:2: frames is given twice (first on line 1)"},
        {"frames 0\n", "s.txt:1: frames takes one whole number from 1 to 2147483647"},
        {"seed -1\n", "s.txt:1: seed takes one whole number from 0 to 4294967295"},
        {"speed 3\n", "s.txt:1: unknown directive 'speed'"},
        {"frames 5\n", "s.txt: no settings line names the base settings file"},
        // Bytes that would cut the message short or disturb the terminal are shown escaped.
        {"settings a\nvary 1 red 1\x1b[2J\n",
         "s.txt:2: '1\\x1b[2J' is not a whole number or a range a:b:step"},
        // The line that takes the sweep past 100,000 runs.
        {"vary 1 red 1:1000:1\nvary 2 red 1:100:1\nrepetitions 2\n",
         "s.txt:3: more than 100000 runs; give --force to run them all"},
    };
    for (const auto& c : cases) {
        SweepFile sweep;
        std::string error;
        EXPECT_FALSE(read_text(c.text, sweep, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
    SweepFile sweep;
    std::string error;
    using namespace std::string_literals;
    EXPECT_FALSE(read_text("settings a\0b\n"s, sweep, error));
    EXPECT_EQ(error, "s.txt:1: holds a NUL byte");
    EXPECT_FALSE(read_text("settings a\nvary 1 red 1\0\n"s, sweep, error));
    EXPECT_EQ(error, "s.txt:2: holds a NUL byte");
    EXPECT_TRUE(read_text("settings a\nvary 1 red 1:1000:1\nvary 2 red 1:100:1\nrepetitions 2\n",
                          sweep, error, true))
        << error;
    EXPECT_FALSE(read_text("settings a\nvary 1 red -2147483648:2147483647:1\nrepetitions 2\n",
                           sweep, error, true));
    EXPECT_EQ(error, "s.txt:3: more than 4294967296 runs");
}

// Runs go through every combination, the last vary line fastest, before any is repeated; the
// seed of a run depends only on the base seed and the run's number.
TEST(SweepPlan, OrderValuesAndSeeds) {
    SweepFile sweep;
    std::string error;
    ASSERT_TRUE(
        read_text("settings base.sav  # the defaults\r\nrepetitions 2\nseed 7\n"
                  "vary 2-4 communication 300 100:0:-100\n"
                  "vary all turning_speed 5 9\n",
                  sweep, error))
        << error;
    EXPECT_EQ(sweep.frames, 1800);
    EXPECT_EQ(sweep.settings, "base.sav");
    EXPECT_EQ(table_header(sweep),
              "run,repetition,seed,s2-4.communication,all.turning_speed,"
              "swarm,population,final_order,mean_order,sync_frame,sweep\n");
    ASSERT_EQ(run_count(sweep), 12);
    const int32_t expected[6][2] = {{300, 5}, {300, 9}, {100, 5}, {100, 9}, {0, 5}, {0, 9}};
    for (int64_t run = 0; run < 12; ++run) {
        const RunPlan plan = plan_run(sweep, run);
        EXPECT_EQ(plan.repetition, run / 6);
        EXPECT_EQ(plan.values[0], expected[run % 6][0]);
        EXPECT_EQ(plan.values[1], expected[run % 6][1]);
        EXPECT_EQ(plan.seed, run_seed(7, run));
    }
    Swarm table[SWARM_COUNT] = {};
    apply_run_values(sweep, plan_run(sweep, 3), table);
    EXPECT_EQ(table[1].communication, 0);
    EXPECT_EQ(table[2].communication, 100);
    EXPECT_EQ(table[4].communication, 100);
    EXPECT_EQ(table[5].communication, 0);
    EXPECT_EQ(table[9].turning_speed, 9);

    // The rule as the README gives it: splitmix64 of base * 2^32 + run, upper half. Tables
    // made before a change to it could not be resumed.
    EXPECT_EQ(run_seed(1, 0), 3291240986u);
    EXPECT_EQ(run_seed(1, 1), 541299110u);
    EXPECT_EQ(run_seed(5, 0), 3056723804u);
    EXPECT_EQ(resolve_settings_path("exp/s.txt", "base.sav"), "exp/base.sav");
    EXPECT_EQ(resolve_settings_path("s.txt", "base.sav"), "base.sav");
    EXPECT_EQ(resolve_settings_path("exp/s.txt", "/x/base.sav"), "/x/base.sav");
}

// A run in this process ends in exactly the world lumora-sim reaches with the run's seed and
// the run's values written into its settings file.
TEST(SweepRun, EndsWhereTheHeadlessRunnerEnds) {
    init_headless();
    const std::string dir = make_temp_dir();
    write_file(dir + "/s.txt",
               "settings base.sav\nframes 150\nseed 3\nvary 1-4 population 40 70\n"
               "vary all communication 2500\nvary 2 target_swarm 2\n");
    write_file(dir + "/base.sav", read_file(std::string(LUMORA_ASSETS_DIR) + "/lmr.sav"));
    SweepFile sweep;
    std::string error;
    ASSERT_TRUE(read_sweep_file(read_file(dir + "/s.txt"), dir + "/s.txt", false, sweep, error))
        << error;

    RunSetup setup;
    setup.sweep = &sweep;
    setup.settings_path = dir + "/base.sav";
    setup.def.media_dir = LUMORA_ASSETS_DIR;
    setup.def.settings = setup.settings_path;
    setup.def.settings_given = true;
    setup.def.draw = false;
    std::FILE* base = std::fopen(setup.settings_path.c_str(), "r");
    ASSERT_TRUE(read_settings(base, setup.base));
    std::fclose(base);
    std::string rows;
    ASSERT_TRUE(execute_run(setup, 1, rows, error)) << error;
    EXPECT_EQ(rows.substr(0, rows.find('\n'))
                  .rfind("1,0," + std::to_string(run_seed(3, 1)) + ",70,2500,2,1,70,", 0),
              0u)
        << rows;

    // This process's world after the run, as lumora-sim traces its last frame.
    TraceWriter trace;
    ASSERT_TRUE(open_output_file(trace.file, dir + "/sweep.txt"));
    ASSERT_TRUE(write_trace_frame(trace, sweep.frames));
    ASSERT_TRUE(close_output_file(trace.file));

    Swarm table[SWARM_COUNT];
    std::memcpy(table, setup.base, sizeof table);
    apply_run_values(sweep, plan_run(sweep, 1), table);
    ASSERT_TRUE(write_settings_file((dir + "/run.sav").c_str(), table));
    const std::string cmd = "'" + std::string(LUMORA_SIM_PATH) + "' --assets '" +
                            LUMORA_ASSETS_DIR + "' --no-draw --frames 150 --seed " +
                            std::to_string(run_seed(3, 1)) + " --settings '" + dir +
                            "/run.sav' --trace '" + dir + "/sim.txt' >/dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    // The fireflies of the last frame, and the swarm records as the last frame leaves them.
    auto last_frame = [](const std::string& trace_text, char kind) {
        std::string lines;
        std::istringstream in(trace_text);
        for (std::string line; std::getline(in, line);) {
            if (line[0] == kind && line.compare(2, 4, "150 ") == 0) lines += line + "\n";
        }
        return lines;
    };
    const std::string sim_trace = read_file(dir + "/sim.txt");
    const std::string sweep_trace = read_file(dir + "/sweep.txt");
    EXPECT_GT(last_frame(sim_trace, 'f').size(), 300u * 40u);
    EXPECT_EQ(last_frame(sweep_trace, 'f'), last_frame(sim_trace, 'f'));
    EXPECT_EQ(last_frame(sweep_trace, 'u'), last_frame(sim_trace, 'u'));
    EXPECT_EQ(std::memcmp(swarms, table, sizeof table), 0);
    std::system(("rm -rf '" + dir + "'").c_str());
}

// Only the last run of a table can be cut short, and it is run again; anything else that is
// not this sweep's stops the resume: another sweep's rows, and values no run can give.
TEST(SweepResume, KeepsWholeRunsOnly) {
    SweepFile sweep;
    std::string error;
    ASSERT_TRUE(read_text("settings a\nframes 200\nvary 1 red 1:4:1\n", sweep, error));
    const std::string mine = "0123456789abcdef";
    auto row = [&](int64_t run, int s, const std::string& values, const std::string& by) {
        return row_prefix(plan_run(sweep, run)) + std::to_string(s) + "," + values + "," + by;
    };
    std::string whole = table_header(sweep);
    for (int64_t run : {2, 0}) {
        for (int s = 1; s <= 9; ++s) whole += row(run, s, "5,0.5000,0.2500,-1", mine) + "\n";
    }
    const std::string dir = make_temp_dir();
    const std::string table = dir + "/t.csv";
    FinishedRuns finished;
    for (size_t cut : {whole.size(), whole.size() - 1, whole.size() - 60}) {
        write_file(table, whole.substr(0, cut));
        ASSERT_TRUE(read_finished_runs(table, sweep, mine, finished, error)) << error;
        const bool all = cut == whole.size();
        EXPECT_EQ(finished.runs, all ? std::vector<int64_t>({0, 2}) : std::vector<int64_t>({2}));
        EXPECT_EQ(finished.keep_bytes, static_cast<int64_t>(all ? cut : whole.find("\n0,") + 1));
    }
    write_file(table, table_header(sweep).substr(0, 10));
    ASSERT_TRUE(read_finished_runs(table, sweep, mine, finished, error));
    EXPECT_EQ(finished.keep_bytes, 0);

    // Line 4 is swarm 3 of run 2.
    const std::string line_4 = row(2, 3, "5,0.5000,0.2500,-1", mine);
    const std::string not_a_row = table + ":4: not the row of swarm 3 of a run of this sweep";
    const std::pair<std::string, std::string> wrong[] = {
        {row(2, 3, "5,0.5000,0.2500,-1", "fedcba9876543210"),
         table + ":4: written by another sweep (other frames, base settings or runs); resume it "
                 "with the sweep that wrote it, or give a new --out"},
        {row(1, 3, "5,0.5000,0.2500,-1", mine), not_a_row},
        {row(2, 3, "5,9.2170,0.2500,-1", mine), not_a_row},
        {row(2, 3, "5,0.5000,-0.2500,-1", mine), not_a_row},
        {row(2, 3, "5,0.5,0.2500,-1", mine), not_a_row},
        {row(2, 3, "5,-0.0000,0.2500,-1", mine), not_a_row},
        {row(2, 3, "05,0.5000,0.2500,-1", mine), not_a_row},
        {row(2, 3, "2001,0.5000,0.2500,-1", mine), not_a_row},
        {row(2, 3, "5,0.5000,0.2500,82", mine), not_a_row},  // 120 frames in step from 82: 201
        {row(2, 3, "5,0.5000,0.2500,0", mine), not_a_row},
        {row(2, 3, "5,0.5000,0.2500,-1", mine + ","), not_a_row},
    };
    for (const auto& w : wrong) {
        std::string text = whole;
        text.replace(text.find(line_4), line_4.size(), w.first);
        write_file(table, text);
        EXPECT_FALSE(read_finished_runs(table, sweep, mine, finished, error)) << w.first;
        EXPECT_EQ(error, w.second) << w.first;
    }
    std::string last_sync = whole;
    last_sync.replace(last_sync.find(line_4), line_4.size(), row(2, 3, "5,0.5000,1.0000,81", mine));
    write_file(table, last_sync);
    EXPECT_TRUE(read_finished_runs(table, sweep, mine, finished, error)) << error;

    write_file(table, whole + whole.substr(table_header(sweep).size()));
    EXPECT_FALSE(read_finished_runs(table, sweep, mine, finished, error));
    EXPECT_EQ(error, table + ":28: run 2 again");
    write_file(table, "run,seed\n");
    EXPECT_FALSE(read_finished_runs(table, sweep, mine, finished, error));
    EXPECT_EQ(error, table + ":1: the header is not this sweep's");
    std::system(("rm -rf '" + dir + "'").c_str());
}

// The same runs give the same fingerprint however the sweep file writes them, so that shards
// and tables of one sweep go together; anything that changes a row changes it.
TEST(SweepFingerprint, OnlyTheSameRunsShareOne) {
    Swarm base[SWARM_COUNT] = {};
    auto fingerprint = [&](const std::string& lines) {
        SweepFile sweep;
        std::string error;
        EXPECT_TRUE(read_text("settings a.sav\n" + lines, sweep, error)) << error;
        return sweep_fingerprint(sweep, base);
    };
    const std::string plain = fingerprint("vary 1 red 1:5:2 6:7:1\n");
    EXPECT_EQ(plain.size(), 16u);
    for (const char* same : {"vary 1 red 1 3 5 6 7\n", "vary 1-1 red 1:3:2 5:6:1 7\n",
                             "frames 1800\nvary 1 red 1 3:5:2 6 7:7:5\n"}) {
        EXPECT_EQ(fingerprint(same), plain) << same;
    }
    for (const char* other :
         {"vary 1 red 1 3 5 7 6\n", "vary 1 red 1:5:2 6:8:1\n", "vary 2 red 1:5:2 6:7:1\n",
          "vary 1 green 1:5:2 6:7:1\n", "vary 1-2 red 1:5:2 6:7:1\n",
          "frames 1801\nvary 1 red 1:5:2 6:7:1\n", "seed 2\nvary 1 red 1:5:2 6:7:1\n",
          "repetitions 2\nvary 1 red 1:5:2 6:7:1\n"}) {
        EXPECT_NE(fingerprint(other), plain) << other;
    }
    base[4].communication = 1;
    EXPECT_NE(fingerprint("vary 1 red 1:5:2 6:7:1\n"), plain);
}

// The field's size and the table's slots vary like a field, slower than every vary line; a
// single value names the field of every run and adds no column; a sweep on the default field
// keeps the fingerprint it had; sizes and slots out of range are refused naming the limits.
TEST(SweepFile, SizesAndFirefliesVaryLikeAField) {
    SweepFile sweep;
    std::string error;
    ASSERT_TRUE(
        read_text("settings a.sav\nsize 640x480 1920x1080\nfireflies 2000 5000:15000:5000\n"
                  "vary 1 population 100 20000\n",
                  sweep, error))
        << error;
    EXPECT_EQ(table_header(sweep),
              "run,repetition,seed,size,fireflies,s1.population,"
              "swarm,population,final_order,mean_order,sync_frame,sweep\n");
    ASSERT_EQ(run_count(sweep), 16);
    const RunPlan plan = plan_run(sweep, 13);  // size 1, fireflies 2, population 1
    EXPECT_EQ(plan.field_w, 1920);
    EXPECT_EQ(plan.field_h, 1080);
    EXPECT_EQ(plan.capacity, 10000);
    EXPECT_EQ(plan.values[0], 20000);
    EXPECT_EQ(row_prefix(plan), "13,0," + std::to_string(plan.seed) + ",1920x1080,10000,20000,");

    ASSERT_TRUE(read_text("settings a.sav\nsize 896x896\nfireflies 3000\n", sweep, error));
    EXPECT_EQ(table_header(sweep).rfind("run,repetition,seed,swarm,", 0), 0u);
    EXPECT_EQ(plan_run(sweep, 0).field_w, 896);
    EXPECT_EQ(plan_run(sweep, 0).capacity, 3000);

    Swarm base[SWARM_COUNT] = {};
    auto fingerprint = [&](const std::string& lines) {
        EXPECT_TRUE(read_text("settings a.sav\nvary 1 red 1 2\n" + lines, sweep, error)) << error;
        return sweep_fingerprint(sweep, base);
    };
    const std::string plain = fingerprint("");
    EXPECT_EQ(fingerprint("size 1024x768\nfireflies 2000\n"), plain);
    EXPECT_NE(fingerprint("size 1024x769\n"), plain);
    EXPECT_NE(fingerprint("fireflies 2001\n"), plain);
    EXPECT_NE(fingerprint("fireflies 2000 2001\n"), fingerprint("fireflies 2001 2000\n"));

    const struct {
        const char* text;
        const char* error;
    } broken[] = {
        {"size 1024x768 200x200\n",
         "s.txt:1: the size \"200x200\" is not a field's: WIDTHxHEIGHT in pixels, from 320x240 to "
         "7680x4320"},
        {"size\n", "s.txt:1: size takes at least one size WxH"},
        {"fireflies 1000:60000:1000\n",
         "s.txt:1: fireflies takes numbers from 1 to 50000, not 60000"},
        {"fireflies 0\n", "s.txt:1: fireflies takes numbers from 1 to 50000, not 0"},
        {"fireflies 5\nfireflies 6\n", "s.txt:2: fireflies is given twice (first on line 1)"},
    };
    for (const auto& c : broken) {
        EXPECT_FALSE(read_text(c.text, sweep, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}
