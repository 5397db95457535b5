// Whole runs of the headless runner, as a user or a script drives it.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "files/picture_swarms.h"
#include "files/settings_file.h"
#include "headless/stats_file.h"
#include "render/help_overlay.h"
#include "render/sync_graph.h"
#include "sweep/sweep_file.h"
#include "tests/sim_run.h"
#include "tests/support.h"

TEST_F(Runner, SameSeedGivesTheSameTraceAndPicture) {
    ASSERT_EQ(sim("--seed 7 --frames 40 --trace a.txt --shot a.bmp"), 0) << err;
    EXPECT_NE(out.find("frames=40 fireflies=1800 seconds="), std::string::npos) << out;
    ASSERT_EQ(sim("--seed 7 --frames 40 --trace b.txt --shot b.bmp"), 0) << err;
    EXPECT_EQ(file("a.txt"), file("b.txt"));
    EXPECT_EQ(file("a.bmp"), file("b.bmp"));
    EXPECT_GT(file("a.bmp").size(), 1024u * 768u * 3u);

    // Drawing does not change what is simulated.
    ASSERT_EQ(sim("--seed 7 --frames 40 --trace c.txt --no-draw"), 0) << err;
    EXPECT_EQ(file("a.txt"), file("c.txt"));
    ASSERT_EQ(sim("--seed 8 --frames 40 --trace d.txt --no-draw"), 0) << err;
    EXPECT_NE(file("a.txt"), file("d.txt"));
}

TEST_F(Runner, TraceListsInterfaceSwarmsAndFireflies) {
    ASSERT_EQ(sim("--frames 2 --trace t.txt"), 0) << err;
    const std::string t = file("t.txt");
    EXPECT_EQ(t.rfind("u 1 1 0 0 0 0 1 0 1001 99 loading succesful\ns 1 0 ", 0), 0u)
        << t.substr(0, 80);
    EXPECT_NE(t.find("\ns 1 9 "), std::string::npos);
    EXPECT_NE(t.find("\nf 1 0 1 "), std::string::npos);
    EXPECT_NE(t.find("\nf 2 1799 9 "), std::string::npos);
    EXPECT_EQ(t.find("\ns 2 "), std::string::npos) << "unchanged swarms are not repeated";
}

TEST_F(Runner, InputScriptDrivesKeysAndMouse) {
    write_file(dir + "/in.txt",
               "# open the panel, raise swarm 1's population once, then quit\n"
               "0 - 100 100 0\n"
               "\n"
               "11 ENTER 100 100 0\n"
               "12 - 100 100 0\n"
               "21 RIGHT 100 100 0\n"
               "22 - 100 100 0\n"
               "31 S 100 100 0\n"
               "32 - 100 100 0\n"
               "40 ESC 100 100 0\n");
    ASSERT_EQ(sim("--input in.txt --frames 100 --trace t.txt"), 0) << err;
    EXPECT_NE(out.find("frames=39 fireflies=1801 "), std::string::npos) << out;
    const std::string t = file("t.txt");
    EXPECT_NE(t.find("\nu 11 1 0 1 0 0 1 0 1001 89 loading succesful\n"), std::string::npos);
    EXPECT_NE(t.find("\nu 31 1 0 1 0 0 1 0 1001 99 saving succesful\n"), std::string::npos);
    Swarm saved[SWARM_COUNT];
    ASSERT_TRUE(read_settings_file((dir + "/lmr.sav").c_str(), saved));
    EXPECT_EQ(saved[1].population, 201);
}

TEST_F(Runner, BadArgumentsAndScriptsExitWithTwo) {
    const char* bad[] = {
        "--bogus",
        "--seed -1",
        "--seed 4294967296",
        "--frames x",
        "--depth 8",
        "--frames",
        "--input missing.txt",
        "--seed 1x",
        "--stats s.csv --stats-every 0",
        "--stats s.csv --stats-every -2",
        "--stats-every 2",  // without a table to write
        "--frames-dir d --every x",
        "--every 2",
        "--frames-dir d --no-draw",
    };
    for (const char* args : bad) {
        EXPECT_EQ(sim(args), 2) << args;
        EXPECT_FALSE(err.empty()) << args;
    }
    EXPECT_EQ(sim("--seed 4294967295 --frames 1 --no-draw"), 0) << err;
    const char* scripts[] = {
        "1 - 0 0\n",    "1 FOO 0 0 0\n",  "5 - 0 0 0\n5 - 0 0 0\n", "1 - 0 0 x\n",
        "-1 - 0 0 0\n", "1 S,,L 0 0 0\n", "1 - 0 0 99999999999\n",  "1 - 0 0 0 0\n",
    };
    for (const char* script : scripts) {
        write_file(dir + "/bad.txt", script);
        EXPECT_EQ(sim("--input bad.txt --frames 1"), 2) << script;
        // Each script's last line is the broken one.
        const std::string last =
            std::to_string(std::count(script, script + std::strlen(script), '\n'));
        EXPECT_EQ(err.rfind("bad.txt:" + last + ": ", 0), 0u) << err;
    }
}

// The field list scripts read: each field a user edits once, under the name a sweep file takes
// and at the position that sweep varies. A list that cannot be written is an error.
TEST_F(Runner, FieldsListTheNamesSweepFilesTake) {
    ASSERT_EQ(sim("--fields"), 0) << err;
    std::istringstream lines(out);
    std::set<int> positions;
    int position = 0;
    for (std::string name; lines >> position >> name;) {
        const std::string text = "settings s.sav\nvary 1 " + name + " 7\n";
        SweepFile sweep;
        std::string error;
        ASSERT_TRUE(read_sweep_file(text, "s.txt", false, sweep, error)) << error;
        EXPECT_EQ(sweep.vary[0].field, position) << name;
        positions.insert(position);
    }
    EXPECT_TRUE(lines.eof()) << out;
    EXPECT_EQ(positions.size(), 12u) << out;
}

// Whatever lumora-sim prints, a full disk makes it an error with a message.
TEST_F(Runner, FailedWritesToStandardOutputAreErrors) {
    for (const char* args : {"--fields", "--version", "--frames 1 --no-draw"}) {
        EXPECT_EQ(sim(std::string(args) + " >/dev/full"), 1) << args;
        EXPECT_NE(err.find("lumora-sim: "), std::string::npos) << args;
    }
}

// Every input is checked before any output is opened. A settings file that --settings names
// must load; a FIFO or a device is refused at once, as settings or as input script. Without
// --settings a missing lmr.sav still starts an empty world, as in the window.
TEST_F(Runner, InputsThatCannotBeReadStopTheRunFirst) {
    ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0644), 0);
    ASSERT_EQ(mkdir((dir + "/folder").c_str(), 0755), 0);
    write_file(dir + "/bad.sav", "12abc\n");
    const std::string outputs = " --frames 3 --trace t.txt --stats s.csv";
    const struct {
        const char* option;
        const char* file;
        int status;
    } cases[] = {
        {"--settings", "missing.sav", 1}, {"--settings", "bad.sav", 1},   {"--settings", "fifo", 1},
        {"--settings", "folder", 1},      {"--settings", "/dev/zero", 1}, {"--input", "fifo", 2},
        {"--input", "/dev/zero", 2},      {"--input", "folder", 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sim(std::string(c.option) + " " + c.file + outputs), c.status) << c.file;
        EXPECT_NE(err.find(std::string("'") + c.file + "'"), std::string::npos) << err;
        EXPECT_TRUE(names_starting(dir, "t.txt").empty() && names_starting(dir, "s.csv").empty())
            << c.file;
    }
    unlink((dir + "/lmr.sav").c_str());
    EXPECT_EQ(sim("--frames 2 --no-draw"), 0) << err;
    EXPECT_NE(out.find("frames=2 fireflies=0 "), std::string::npos) << out;
}

// No output overwrites an input or another output, whatever name or link leads to it, and a
// run refused for any reason leaves the files it would have written as they were.
TEST_F(Runner, OutputsNeverOverwriteInputs) {
    std::system(("mkdir '" + dir + "/media' && cp '" + LUMORA_ASSETS_DIR + "'/*.bmp '" +
                 LUMORA_ASSETS_DIR + "'/*.pcx '" + dir + "/media'")
                    .c_str());
    write_file(dir + "/in.txt", "0 - 0 0 0\n");
    write_file(dir + "/old.csv", "kept\n");
    ASSERT_EQ(symlink("in.txt", (dir + "/link.txt").c_str()), 0);
    const std::string settings = file("lmr.sav"), wood = file("media/wood.bmp");
    const struct {
        const char* args;
        int status;
    } cases[] = {
        {"--stats old.csv --frames-dir missing/series", 1},
        {"--stats old.csv --assets missing", 1},
        {"--stats old.csv --shot missing/shot.png", 1},
        {"--stats old.csv --input in.txt --trace in.txt", 2},
        {"--stats old.csv --input in.txt --trace link.txt", 2},
        {"--stats old.csv --shot lmr.sav", 2},
        {"--settings lmr.sav --trace ./lmr.sav", 2},
        {"--stats old.csv --assets media --shot media/wood.bmp", 2},
        {"--trace old.csv --stats old.csv", 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sim(std::string(c.args) + " --frames 2"), c.status) << c.args;
        EXPECT_FALSE(err.empty()) << c.args;
        EXPECT_EQ(file("old.csv"), "kept\n") << c.args;
        EXPECT_EQ(file("in.txt"), "0 - 0 0 0\n") << c.args;
        EXPECT_EQ(file("lmr.sav"), settings) << c.args;
        EXPECT_EQ(file("media/wood.bmp"), wood) << c.args;
    }
}

TEST_F(Runner, MissingMediaExitsWithOneNamingTheFile) {
    const std::string assets = dir + "/media";
    std::system(("mkdir '" + assets + "' && cp '" + LUMORA_ASSETS_DIR + "'/*.bmp '" +
                 LUMORA_ASSETS_DIR + "'/*.pcx '" + assets + "' && rm '" + assets + "/wood.bmp'")
                    .c_str());
    EXPECT_EQ(sim("--assets '" + assets + "' --frames 1"), 1);
    EXPECT_NE(err.find("wood.bmp"), std::string::npos) << err;
    // Started away from its media without --assets, it says which option finds them.
    EXPECT_EQ(run_program(dir, LUMORA_SIM_PATH, "--frames 1"), 1);
    err = file("err.txt");
    EXPECT_NE(err.find("myfont.pcx"), std::string::npos) << err;
    EXPECT_NE(err.find("--assets DIR"), std::string::npos) << err;
}

TEST_F(Runner, EveryColourDepthDraws) {
    for (const char* depth : {"15", "16", "24", "32"}) {
        ASSERT_EQ(sim(std::string("--frames 3 --shot s.bmp --depth ") + depth), 0) << depth << err;
        EXPECT_GT(file("s.bmp").size(), 1024u * 768u * 2u) << depth;
    }
}

// Whole sessions with keys, trails, the panel, both detail levels and every mouse tool, on
// random settings: the fast paths and the straightforward ones write the same trace and the
// same picture at every colour depth.
TEST_F(Runner, FastAndReferencePathsGiveIdenticalRuns) {
    write_file(dir + "/in.txt",
               "0 - 500 400 0\n"
               "3 - 510 390 1\n"  // the lure
               "9 - 520 380 0\n"
               "11 ENTER 520 380 0\n"
               "12 - 530 380 2\n"  // right button: repel
               "14 - 530 380 0\n"
               "20 - 600 300 1\n"
               "30 SPACE 610 310 1\n"  // trails while pushing
               "40 D 620 320 0\n"
               "41 SPACE 625 320 2\n"  // next tool while trails go on: attract
               "43 SPACE 630 330 1\n"
               "55 DOWN 630 330 2\n"  // swirls
               "57 - 2000 -50 1\n"    // the mouse off the picture
               "67 - 100 700 3\n"
               "80 D 100 700 0\n"
               "81 - 100 700 0\n");
    std::mt19937 rng(5);
    for (int world = 0; world < 2; ++world) {
        std::string settings;
        for (int n = 0; n < 200; ++n) {
            const int field = n % 20;
            int v = std::uniform_int_distribution<int>(0, 9)(rng);
            if (field == 1) v = std::uniform_int_distribution<int>(1, 8)(rng);
            if (field == 3) v = std::uniform_int_distribution<int>(0, 20)(rng);
            if (field == 4) v = std::uniform_int_distribution<int>(0, 200)(rng);
            if (field >= 7 && field <= 9) v = std::uniform_int_distribution<int>(-20, 300)(rng);
            if (field == 10) v = std::uniform_int_distribution<int>(0, world == 0 ? 500 : 900)(rng);
            if (field == 12) v = std::uniform_int_distribution<int>(0, 3000)(rng);
            settings += std::to_string(v) + "\n";
        }
        write_file(dir + "/world.sav", settings);
        for (const char* depth : {"15", "16", "24", "32"}) {
            const std::string common =
                std::string("--settings world.sav --input in.txt --frames 90 --seed ") +
                std::to_string(world) + " --depth " + depth;
            ASSERT_EQ(sim(common + " --trace fast.txt --shot fast.bmp"), 0) << err;
            ASSERT_EQ(sim(common + " --reference --trace plain.txt --shot plain.bmp"), 0) << err;
            EXPECT_EQ(file("fast.txt"), file("plain.txt"))
                << "world " << world << " depth " << depth;
            EXPECT_EQ(file("fast.bmp"), file("plain.bmp"))
                << "world " << world << " depth " << depth;
        }
    }
}

// The lines of a trace that describe the world, swarm records and fireflies, without the
// interface's.
static std::string world_lines(const std::string& trace) {
    std::istringstream in(trace);
    std::string line, world;
    while (std::getline(in, line)) {
        if (line[0] != 'u') world += line + "\n";
    }
    return world;
}

// G and F1 draw the graph and the help into their boxes and change nothing of the flight; F12
// keeps the picture beside the settings file as it stands before the cursor is drawn.
// The program's own keys held for 40 frames act once: one picture, one replay, the sound
// switched off and never on again.
TEST_F(Runner, OwnKeysHeldLongActOnce) {
    write_file(dir + "/held.txt",
               "0 - 0 0 0\n11 F12 0 0 0\n51 - 0 0 0\n61 F9 0 0 0\n101 - 0 0 0\n"
               "111 M 0 0 0\n151 - 0 0 0\n");
    ASSERT_EQ(sim("--frames 160 --input held.txt --trace t.txt"), 0) << err;
    EXPECT_EQ(names_starting(dir, "lumora-"),
              (std::vector<std::string>{"lumora-0001.png", "lumora-0001.replay"}));
    const std::string trace = file("t.txt");
    EXPECT_NE(trace.find(" sound off\n"), std::string::npos);
    EXPECT_EQ(trace.find(" sound on\n"), std::string::npos);
}

TEST_F(Runner, GraphHelpAndPictureKeysChangeOnlyThePicture) {
    write_file(dir + "/plain.txt", "0 - 100 100 0\n30 - 120 110 0\n");  // the cursor shows
    write_file(dir + "/keys.txt",
               "0 - 100 100 0\n11 G 100 100 0\n12 - 100 100 0\n21 F1 100 100 0\n"
               "22 - 100 100 0\n30 - 120 110 0\n40 F12 120 110 0\n");
    ASSERT_EQ(sim("--frames 40 --input plain.txt --trace a.txt --shot a.bmp"), 0) << err;
    ASSERT_EQ(sim("--frames 40 --input keys.txt --trace b.txt --shot b.bmp"), 0) << err;
    EXPECT_EQ(world_lines(file("a.txt")), world_lines(file("b.txt")));
    EXPECT_NE(file("b.txt").find("\nu 40 1 0 0 0 0 1 0 10 100 saved lumora-0001.png\n"),
              std::string::npos);

    // The shots are 24-bit BMPs, rows bottom-up after a 54-byte header, each pixel blue, green,
    // red; the kept picture is read back as rows of red, green, blue.
    const std::string plain = file("a.bmp"), keys = file("b.bmp");
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, (dir + "/lumora-0001.png").c_str()));
    image.format = PNG_FORMAT_BGR;
    std::vector<uint8_t> kept(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, kept.data(), 0, nullptr));
    ASSERT_EQ(plain.size(), 54u + 1024 * 768 * 3);
    ASSERT_EQ(kept.size(), 1024u * 768 * 3);
    int in_graph = 0, in_help = 0, elsewhere = 0, under_cursor = 0, kept_elsewhere = 0;
    for (int y = 0; y < 768; ++y) {
        for (int x = 0; x < 1024; ++x) {
            const size_t b = 54 + ((767 - y) * 1024 + x) * 3, k = (y * 1024 + x) * 3;
            const bool graph =
                x >= GRAPH_LEFT && x <= GRAPH_RIGHT && y >= GRAPH_TOP && y <= GRAPH_BOTTOM;
            const bool help =
                x >= HELP_LEFT && x <= HELP_RIGHT && y >= HELP_TOP && y <= HELP_BOTTOM;
            if (plain.compare(b, 3, keys, b, 3) != 0)
                ++(graph ? in_graph : help ? in_help : elsewhere);
            const bool cursor = std::abs(x - 120) <= 6 && std::abs(y - 110) <= 6;
            if (keys.compare(b, 3, reinterpret_cast<const char*>(&kept[k]), 3) != 0)
                ++(cursor ? under_cursor : kept_elsewhere);
        }
    }
    EXPECT_GT(in_graph, 10000);
    EXPECT_GT(in_help, 10000);
    EXPECT_EQ(elsewhere, 0);
    EXPECT_GT(under_cursor, 0) << "the kept picture has no cursor";
    EXPECT_EQ(kept_elsewhere, 0);
}

// A picture F12 kept carries the swarms it shows: --settings on it loads them, the same table
// as a settings file holding it, and S never writes over it. A picture without them is
// refused naming the file.
TEST_F(Runner, SettingsComeFromAPictureThatCarriesThem) {
    // An edit first, so that the picture's table is not the settings file's.
    write_file(dir + "/in.txt",
               "0 - 0 0 0\n11 ENTER 0 0 0\n12 - 0 0 0\n21 6_PAD 0 0 0\n22 - 0 0 0\n"
               "31 F12 0 0 0\n32 - 0 0 0\n");
    ASSERT_EQ(sim("--seed 4 --frames 32 --input in.txt --shot plain.png"), 0) << err;
    PictureSwarms kept;
    std::string error;
    ASSERT_TRUE(find_picture_swarms(file("lumora-0001.png"), kept, error)) << error;
    EXPECT_EQ(kept.seed, 4u);
    EXPECT_EQ(kept.frame, 31);
    char text[SETTINGS_TEXT_MAX];
    const std::string table(text, format_settings(text, kept.table));
    ASSERT_NE(table, file("lmr.sav"));
    write_file(dir + "/table.sav", table);

    write_file(dir + "/save.txt", "0 - 0 0 0\n11 S 0 0 0\n12 - 0 0 0\n");
    const std::string picture = file("lumora-0001.png");
    ASSERT_EQ(sim("--settings table.sav --frames 20 --input save.txt --trace a.txt"), 0) << err;
    ASSERT_EQ(sim("--settings lumora-0001.png --frames 20 --input save.txt --trace b.txt"), 0)
        << err;
    const std::string a = file("a.txt"), b = file("b.txt");
    EXPECT_EQ(a.substr(0, a.find("\nu 11 ")), b.substr(0, b.find("\nu 11 ")));
    EXPECT_NE(b.find(" saving failed: the file is a picture\n"), std::string::npos);
    EXPECT_EQ(file("lumora-0001.png"), picture) << "S wrote over the picture";

    EXPECT_EQ(sim("--settings plain.png --frames 1"), 1);
    EXPECT_EQ(err,
              "plain.png: the picture holds no swarms: it has no lumora-swarms text "
              "(pictures F12 keeps have one)\n");
}

// A number key loads its preset from the folder beside the media given with --assets.
TEST_F(Runner, NumberKeyLoadsPresetBesideTheMedia) {
    const std::string media = dir + "/media";
    std::system(("mkdir -p '" + media + "/presets' && cp '" + LUMORA_ASSETS_DIR + "'/*.bmp '" +
                 LUMORA_ASSETS_DIR + "'/*.pcx '" + media + "'")
                    .c_str());
    std::string preset;  // swarm 1 has 7 fireflies, the others 2 each
    for (int n = 0; n < 200; ++n) preset += n == 30 ? "7\n" : "2\n";
    write_file(media + "/presets/3-test.sav", preset);
    write_file(dir + "/in.txt", "0 - 0 0 0\n11 3 0 0 0\n12 - 0 0 0\n");
    ASSERT_EQ(sim("--assets '" + media + "' --frames 12 --input in.txt"), 0) << err;
    EXPECT_NE(out.find("frames=12 fireflies=23 "), std::string::npos) << out;
}

// The statistics table does not change the run: the trace is the same with and without it.
// Its rows are the measures of the frames the trace numbers, for every N-th frame only; a table
// that cannot be written stops the run before it starts.
TEST_F(Runner, StatsTableFollowsTheTraceAndLeavesItAlone) {
    ASSERT_EQ(sim("--seed 3 --frames 7 --trace plain.txt"), 0) << err;
    const std::string summary = out.substr(0, out.find(" seconds="));
    ASSERT_EQ(sim("--seed 3 --frames 7 --trace t.txt --stats s.csv --stats-every 3"), 0) << err;
    EXPECT_EQ(file("t.txt"), file("plain.txt"));
    EXPECT_EQ(out.substr(0, out.find(" seconds=")), summary);

    std::istringstream table(file("s.csv"));
    std::string line;
    std::getline(table, line);
    EXPECT_EQ(line, "frame,swarm,target,population,flashing,order,lock");
    int rows = 0;
    while (std::getline(table, line)) {
        // Order and lock with four decimals, always: "0.0123", never "0.0123456" or "1.2e-05".
        ASSERT_TRUE(std::regex_match(line, std::regex(R"(\d+,\d,\d+,\d+,\d+,\d\.\d{4},\d\.\d{4})")))
            << line;
        long frame = 0;
        int swarm = 0, target = 0, population = 0, flashing = 0;
        double order = 0, lock = 0;
        std::sscanf(line.c_str(), "%ld,%d,%d,%d,%d,%lf,%lf", &frame, &swarm, &target, &population,
                    &flashing, &order, &lock);
        SCOPED_TRACE(line);
        EXPECT_EQ(frame, 3 * (rows / 9 + 1));
        EXPECT_EQ(swarm, rows % 9 + 1);

        // The default settings: 200 in each swarm, 1 to 4 in a ring, 5 and 6 in a pair.
        EXPECT_EQ(population, 200);
        EXPECT_EQ(target, swarm <= 4 ? swarm % 4 + 1 : swarm <= 6 ? 11 - swarm : swarm);
        if (frame == 6) {
            // The order after frame 6 from the glow phases the trace gives for frame 6.
            std::istringstream trace(file("t.txt"));
            std::string f;
            double c = 0, sn = 0;
            int members = 0;
            while (std::getline(trace, f)) {
                int slot = 0;
                long at = 0;
                float v[11];
                if (std::sscanf(f.c_str(), "f %ld %d %g %g %g %g %g %g %g %g %g %g %g", &at, &slot,
                                &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8],
                                &v[9], &v[10]) != 13 ||
                    at != 6 || v[0] != swarm)
                    continue;
                ++members;
                c += std::cos(static_cast<double>(v[8]));
                sn += std::sin(static_cast<double>(v[8]));
            }
            EXPECT_EQ(members, population);
            EXPECT_NEAR(order, std::hypot(c, sn) / members, 0.00005);
        }
        ++rows;
    }
    EXPECT_EQ(rows, 2 * 9) << "frames 3 and 6";

    EXPECT_EQ(sim("--frames 5 --trace t2.txt --stats missing/s.csv"), 1);
    EXPECT_NE(err.find("missing/s.csv"), std::string::npos) << err;
    EXPECT_EQ(file("t2.txt"), "") << "the run never started";
}

// A table that cannot take a frame's rows ends the run at once, on its last whole row: with the
// file size limit reached early, the keys of later frames never act.
TEST_F(Runner, StatsEndAtTheFirstShortWrite) {
    write_file(dir + "/in.txt",
               "0 - 0 0 0\n11 ENTER 0 0 0\n12 - 0 0 0\n21 RIGHT 0 0 0\n"
               "22 - 0 0 0\n250 S 0 0 0\n251 - 0 0 0\n");
    const std::string settings = file("lmr.sav");
    EXPECT_EQ(sim("--no-draw --frames 300 --input in.txt --stats s.csv", "ulimit -f 8"), 1);
    EXPECT_NE(err.find("s.csv"), std::string::npos) << err;
    EXPECT_EQ(file("lmr.sav"), settings) << "the run went on after the failed write";
    const std::string table = file("s.csv");
    ASSERT_FALSE(table.empty());
    EXPECT_EQ(table.back(), '\n');
    std::istringstream lines(table);
    std::string line;
    int rows = -1;
    while (std::getline(lines, line)) {
        if (rows++ < 0) continue;
        EXPECT_TRUE(std::regex_match(line, std::regex(R"(\d+,\d,\d+,\d+,\d+,\d\.\d{4},\d\.\d{4})")))
            << line;
    }
    EXPECT_EQ(rows % 9, 0) << "a frame's rows are whole";
}

// Any output that meets a full disk ends the run at once (the S of frame 250 never saves) and
// is left whole: the trace on its last whole frame, the video on its last whole picture, the
// sound with a header that counts the samples it holds. A trace on a full device stops the run
// at its first frame, before the table has a row.
TEST_F(Runner, EveryOutputEndsWholeAtTheFirstShortWrite) {
    write_file(dir + "/in.txt",
               "0 - 0 0 0\n11 ENTER 0 0 0\n12 - 0 0 0\n21 RIGHT 0 0 0\n"
               "22 - 0 0 0\n250 S 0 0 0\n251 - 0 0 0\n");
    const std::string settings = file("lmr.sav");
    ASSERT_EQ(sim("--frames 30 --input in.txt --trace whole.txt"), 0) << err;
    const std::string whole = file("whole.txt");
    const auto cut_run = [&](const std::string& output, int kilobytes) {
        EXPECT_EQ(
            sim("--frames 300 --input in.txt " + output, "ulimit -f " + std::to_string(kilobytes)),
            1)
            << output;
        EXPECT_NE(err.find("failed"), std::string::npos) << err;
        EXPECT_EQ(file("lmr.sav"), settings) << output << ": the run went on";
    };
    cut_run("--trace t.txt", 1024);
    const std::string trace = file("t.txt");
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(whole.compare(0, trace.size(), trace), 0) << "the trace is the run's beginning";
    EXPECT_EQ(whole.compare(trace.size(), 2, "u "), 0) << "and ends on a whole frame";

    cut_run("--raw-video v.rgb", 10000);
    const size_t video = file("v.rgb").size(), picture = 1024 * 768 * 3;
    EXPECT_GT(video, 0u);
    EXPECT_EQ(video % picture, 0u) << "whole pictures";

    cut_run("--audio s.wav", 64);
    const std::string wav = file("s.wav");
    ASSERT_GT(wav.size(), 44u + 3200u);
    EXPECT_EQ((wav.size() - 44) % 3200, 0u) << "whole frames of samples";
    const auto le32 = [&](size_t at) {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(wav[at + i]);
        return v;
    };
    EXPECT_EQ(le32(4), wav.size() - 8);
    EXPECT_EQ(le32(40), wav.size() - 44);

    EXPECT_EQ(sim("--frames 3000 --trace /dev/full --stats s.csv"), 1);
    EXPECT_EQ(file("s.csv"), STATS_HEADER);
}

// --shot writes PNG for a .png name and BMP otherwise; a picture series numbers its files from
// 1 without gaps, one every N frames, and the series' last picture is the run's last picture.
TEST_F(Runner, PicturesAsPngAndNumberedSeries) {
    ASSERT_EQ(sim("--frames 6 --shot last.PNG --frames-dir series --every 3"), 0) << err;
    EXPECT_EQ(file("last.PNG").substr(1, 3), "PNG");
    EXPECT_EQ(file("series/frame-000002.png"), file("last.PNG"));
    EXPECT_EQ(file("series/frame-000001.png").substr(1, 3), "PNG");
    EXPECT_NE(file("series/frame-000001.png"), file("last.PNG"));
    EXPECT_EQ(file("series/frame-000003.png"), "");

    ASSERT_EQ(sim("--frames 2 --shot last.bmp"), 0) << err;
    EXPECT_EQ(file("last.bmp").substr(0, 2), "BM");
    EXPECT_EQ(sim("--frames 2 --frames-dir none/series"), 1);
    EXPECT_NE(err.find("none/series"), std::string::npos) << err;

    // A picture that cannot be written whole leaves the one there before, and no part of it.
    for (const char* name : {"last.bmp", "last.PNG"}) {
        const std::string before = file(name);
        EXPECT_EQ(sim(std::string("--frames 2 --seed 9 --shot ") + name, "ulimit -f 8"), 1);
        EXPECT_EQ(file(name), before) << name;
        EXPECT_EQ(names_starting(dir, "last.").size(), 2u) << name;
    }
}

// A session kept by lumora-sim the way the window keeps it (keys, a panel edit, loads that work
// and one that fails, a save, pictures, every mouse tool and F9 twice), played again elsewhere
// from its replay alone: the same trace, the same pictures, the settings file never read and
// nothing of the user's written.
TEST_F(Runner, ReplayPlaysTheKeptSessionAgain) {
    const std::string media = dir + "/media";
    std::system(("mkdir -p '" + media + "/presets' && cp '" + LUMORA_ASSETS_DIR + "'/*.bmp '" +
                 LUMORA_ASSETS_DIR + "'/*.pcx '" + media + "' && cp '" + LUMORA_ASSETS_DIR +
                 "/presets/3-fall-into-step.sav' '" + media + "/presets'")
                    .c_str());
    // Each right click waits until the keys have rested long enough for it to change the tool.
    write_file(dir + "/in.txt",
               "0 - 500 400 0\n3 - 510 390 1\n9 - 520 380 0\n11 ENTER 520 380 0\n"
               "12 - 520 380 0\n21 RIGHT 520 380 0\n22 - 530 380 2\n32 - 530 380 1\n"
               "42 L 600 300 0\n43 - 600 300 0\n52 S 600 300 0\n53 - 600 300 2\n"
               "63 SPACE 610 310 1\n73 F12 610 310 0\n74 - 610 310 2\n84 - 620 320 1\n"
               "94 F9 620 320 0\n95 - 620 320 2\n105 - 620 320 1\n115 3 620 320 0\n"
               "116 - 620 320 0\n125 4 600 300 0\n126 - 600 300 2\n136 - 600 300 1\n"
               "146 F12 600 300 0\n147 - 600 300 0\n157 F9 600 300 0\n");
    ASSERT_EQ(sim("--assets '" + media +
                  "' --seed 77 --depth 16 --input in.txt --frames 157 "
                  "--trace live.txt --audio live.wav"),
              0)
        << err;
    for (const char* tool : {"\nu 104 1 0 1 0 0 0 4 ", "\nu 135 1 0 1 0 0 0 0 "})
        EXPECT_NE(file("live.txt").find(tool), std::string::npos) << "the tools went round";
    const std::string replay = file("lumora-0002.replay");
    for (const char* kept :
         {"load 42 ok", "save 52 ok", "picture 73 lumora-0001.png", "replay 94 ok", "load 115 ok",
          "load 125 failed", "picture 146 lumora-0002.png", "replay 157 ok"})
        EXPECT_NE(replay.find(std::string("\n") + kept + " 100 "), std::string::npos) << kept;

    const std::string elsewhere = dir + "/elsewhere";
    std::system(("mkdir '" + elsewhere + "' && rm -r '" + media + "/presets'").c_str());
    const auto play_there = [&](const std::string& args) {
        return sim("--assets '" + media + "' --replay '" + dir + "/lumora-0002.replay' --trace '" +
                   elsewhere + "/" + args);
    };
    ASSERT_EQ(play_there("again.txt' --pictures-dir '" + elsewhere + "/pictures' --audio '" +
                         elsewhere + "/again.wav'"),
              0)
        << err;
    EXPECT_EQ(read_file(elsewhere + "/again.txt"), file("live.txt"));
    EXPECT_TRUE(read_file(elsewhere + "/again.wav") == file("live.wav")) << "the same sound";
    for (const char* name : {"lumora-0001.png", "lumora-0002.png"})
        EXPECT_EQ(read_file(elsewhere + "/pictures/" + name), file(name)) << name;
    ASSERT_EQ(play_there("plain.txt' --reference --frames 60"), 0) << err;
    const std::string live = file("live.txt");
    EXPECT_EQ(read_file(elsewhere + "/plain.txt"), live.substr(0, live.find("\nu 61 ") + 1));
    EXPECT_EQ(play_there("again.txt' --pictures-dir '" + elsewhere + "/pictures'"), 1)
        << "pictures are never written over";
    EXPECT_NE(err.find("lumora-0001.png' exists"), std::string::npos) << err;
    EXPECT_EQ(file("lumora-0003.replay") + file("lumora-0003.png"), "") << "a replay keeps nothing";
}

// A session that explores (R, X), undoes (Z), redoes (Y) and steps while paused (N) is kept in
// version 3 with the tables R and X made, and plays again byte for byte: trace, picture and
// sound. One that uses none of them stays version 2.
TEST_F(Runner, ExploringIsKeptAndPlayedAgain) {
    write_file(dir + "/in.txt",
               "0 - 0 0 0\n11 R 0 0 0\n12 - 0 0 0\n22 X 0 0 0\n23 - 0 0 0\n33 R 0 0 0\n"
               "34 - 0 0 0\n44 Z 0 0 0\n45 - 0 0 0\n55 Y,P 0 0 0\n56 - 0 0 0\n66 N 0 0 0\n"
               "67 - 0 0 0\n77 N 0 0 0\n78 - 0 0 0\n88 F12 0 0 0\n89 - 0 0 0\n99 F9 0 0 0\n");
    ASSERT_EQ(sim("--seed 5 --input in.txt --frames 99 --trace live.txt --audio live.wav"), 0)
        << err;
    const std::string replay = file("lumora-0001.replay");
    EXPECT_EQ(replay.rfind("lumora-replay 3\n", 0), 0u) << replay;
    for (const char* kept : {"\nexplore 11 ok 100 random swarms\nswarm 0 ",
                             "\nexplore 22 ok 100 mutated swarm 1\nswarm 0 ",
                             "\nexplore 33 ok 100 random swarms\nswarm 0 ", "\n55 P,Y 0 0 0\n"})
        EXPECT_NE(replay.find(kept), std::string::npos) << kept;
    const std::string live = file("live.txt");
    ASSERT_EQ(sim("--replay lumora-0001.replay --trace again.txt --audio again.wav "
                  "--pictures-dir again"),
              0)
        << err;
    EXPECT_EQ(file("again.txt"), live);
    EXPECT_TRUE(file("again.wav") == file("live.wav")) << "the same sound";
    EXPECT_EQ(file("again/lumora-0001.png"), file("lumora-0001.png"));
    ASSERT_FALSE(file("lumora-0001.png").empty());

    write_file(dir + "/in.txt", "0 - 0 0 0\n11 P 0 0 0\n12 - 0 0 0\n30 F9 0 0 0\n");
    ASSERT_EQ(sim("--seed 5 --input in.txt --frames 30"), 0) << err;
    EXPECT_EQ(file("lumora-0002.replay").rfind("lumora-replay 2\n", 0), 0u);
}

// The pictures a replay writes into --pictures-dir are outputs like any other: a last picture,
// a trace or a series picture under one of their names is refused before the first frame (exit
// 2), and the folder stays as it was. A dangling link under a picture's name is refused too.
TEST_F(Runner, ReplayPicturesClashWithNoOtherOutput) {
    write_file(dir + "/in.txt", "0 - 0 0 0\n30 F12 0 0 0\n31 - 0 0 0\n40 F9 0 0 0\n");
    ASSERT_EQ(sim("--input in.txt --frames 40"), 0) << err;
    const std::string good = file("lumora-0001.replay");
    const size_t kept = good.find("picture 30 lumora-0001.png");
    ASSERT_NE(kept, std::string::npos) << good;
    write_file(dir + "/series.replay",
               good.substr(0, kept) + "picture 30 frame-000001.png" + good.substr(kept + 26));
    mkdir((dir + "/p").c_str(), 0777);
    for (const char* clash :
         {"lumora-0001.replay --shot p/lumora-0001.png",
          "lumora-0001.replay --trace p/lumora-0001.png", "series.replay --frames-dir p"}) {
        EXPECT_EQ(sim(std::string("--pictures-dir p --replay ") + clash), 2) << clash;
        EXPECT_NE(err.find("is the same file as"), std::string::npos) << err;
        EXPECT_EQ(names_starting(dir + "/p", "").size(), 2u) << clash << ": only . and ..";
    }
    ASSERT_EQ(sim("--pictures-dir p --replay series.replay --frames-dir q --every 40"), 0) << err;
    // A link that leads nowhere takes a name as well as a file does.
    ASSERT_EQ(symlink("nowhere", (dir + "/p/lumora-0001.png").c_str()), 0);
    EXPECT_EQ(sim("--pictures-dir p --replay lumora-0001.replay"), 1);
    EXPECT_EQ(file("nowhere"), "");
}

// A replay that is broken, cut short, foreign or newer, or not a regular file, or options that
// contradict one, are refused with exit status 2 before anything runs, a broken file naming its
// line; one that stops before its last frame fails with 1, naming the frame.
TEST_F(Runner, BrokenReplaysAndContradictingOptionsAreRefused) {
    write_file(dir + "/in.txt", "0 - 0 0 0\n20 F9 0 0 0\n");
    ASSERT_EQ(sim("--input in.txt --frames 20"), 0) << err;
    const std::string good = file("lumora-0001.replay");
    const size_t table = good.find("swarm 3 "), input = good.find("input\n");
    const std::pair<std::string, std::string> broken[] = {
        {"", "r.replay:1: is empty"},
        {"0 - 0 0 0\n", "r.replay:1: not a lumora replay"},
        {"lumora-replay 4" + good.substr(15), "r.replay:1: a replay of format version 4"},
        {good.substr(0, input) + "explore 5 ok 100 x\n" + good.substr(input),
         "r.replay:17: an explore"},
        {good.substr(0, input + 6) + "0 R 0 0 0\n" + good.substr(input + 16),
         "r.replay:18: the keys R"},
        {"lumora-replay 2\nframes 5184001" + good.substr(good.find("\nseed")), "r.replay:2:"},
        {good.substr(0, good.size() - 4), "r.replay:20: the file ends here"},
        {good.substr(0, table) + "swarm 3 1 2 3\n" + good.substr(table), "r.replay:9: a swarm"},
        {good.substr(0, input) + "save 21 ok 100 x\n" + good.substr(input), "r.replay:17: a file"},
        {good.substr(0, input) + "input\n5 - 0 0 0\n" + good.substr(input + 6), "r.replay:18:"},
    };
    for (const auto& [text, message] : broken) {
        write_file(dir + "/r.replay", text);
        EXPECT_EQ(sim("--replay r.replay"), 2) << message;
        EXPECT_EQ(err.rfind(message, 0), 0u) << err;
    }
    // A replay kept before the program's own keys acted once a press still plays.
    write_file(dir + "/r.replay", "lumora-replay 1" + good.substr(15));
    EXPECT_EQ(sim("--replay r.replay"), 0) << err;
    // Opened like any input: a FIFO is never waited for, a device never read without end.
    ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0644), 0);
    for (const char* file : {"fifo", "/dev/zero"}) {
        EXPECT_EQ(sim(std::string("--replay ") + file), 2) << file;
        EXPECT_NE(err.find(std::string("the replay '") + file + "' is not a regular file"),
                  std::string::npos)
            << err;
    }
    for (const char* against : {"--seed 2", "--settings lmr.sav", "--input in.txt", "--depth 16"})
        EXPECT_EQ(sim(std::string("--replay lumora-0001.replay ") + against), 2) << against;
    EXPECT_EQ(sim("--pictures-dir p"), 2);
    EXPECT_EQ(sim("--replay lumora-0001.replay --pictures-dir p --no-draw"), 2);

    // ESC edited in ends the replay before the F9 it holds: it plays differently.
    const size_t f9 = good.find("\n20 F9 ") + 1;
    write_file(dir + "/r.replay", good.substr(0, f9) + "10 ESC 0 0 0\n" + good.substr(f9));
    EXPECT_EQ(sim("--replay r.replay --trace t.txt"), 1);
    EXPECT_NE(err.find("frame 10: the replay ends here"), std::string::npos) << err;
}

// Any field and any table: the fast and the straightforward paths give the same traces and
// pictures on a field of 7 by 7 steering cells, on sizes that are no multiple of a cell and with
// more than 2000 slots; populations asking for more than the table holds are cut, the first
// swarms served first; a replay kept on such a field names it and plays back byte for byte,
// and refuses options that ask for another field. Sizes and slots out of range write nothing.
TEST_F(Runner, FieldsOfAnySizeAndTableOfAnyCapacity) {
    std::string settings;
    for (int record = 0; record < SWARM_COUNT; ++record) {
        // spare, speeds, turning, view, acceleration, braking, colour, population, target,
        // range
        const int row[20] = {
            0, 5, 1, 6, 60, 2, 2, 255, 40, 40, record == 0 ? 0 : 450, record % 9 + 1, 2500};
        for (int f = 0; f < 20; ++f) settings += std::to_string(row[f]) + "\n";
    }
    write_file(dir + "/crowd.sav", settings);
    write_file(dir + "/in.txt",
               "0 - 400 300 0\n5 - 700 500 1\n9 - 880 880 0\n12 - 5 5 2\n"
               "16 - 640 200 0\n24 F9 640 200 0\n");
    struct Field {
        const char* size;
        int capacity;
        int live;  // after the first frame: nine swarms of 450, cut to the table
    };
    for (const Field& f : {Field{"896x896", 2000, 2000}, Field{"1000x700", 2600, 2600},
                           Field{"333x250", 5000, 4050}, Field{"2100x1300", 4500, 4050}}) {
        std::system(("rm -f '" + dir + "'/*.replay").c_str());
        const std::string common = "--settings crowd.sav --input in.txt --frames 24 --seed 9 " +
                                   std::string("--size ") + f.size + " --fireflies " +
                                   std::to_string(f.capacity);
        ASSERT_EQ(sim(common + " --reference --trace plain.txt --shot plain.bmp"), 0) << err;
        // The fast run's replay takes the same name, which its status line shows.
        std::system(("rm -f '" + dir + "'/*.replay").c_str());
        ASSERT_EQ(sim(common + " --trace fast.txt --shot fast.bmp"), 0) << err;
        // Traces of megabytes, compared without a diff of them.
        EXPECT_TRUE(file("fast.txt") == file("plain.txt")) << f.size;
        EXPECT_TRUE(file("fast.bmp") == file("plain.bmp")) << f.size;
        EXPECT_NE(out.find(" fireflies=" + std::to_string(f.live) + " "), std::string::npos)
            << f.size << ": " << out;

        const std::string replay = file("lumora-0001.replay");
        const std::string w = std::string(f.size).substr(0, std::string(f.size).find('x'));
        EXPECT_EQ(replay.rfind("lumora-replay 3\n", 0), 0u) << replay.substr(0, 20);
        EXPECT_NE(replay.find("\nfield " + w + " "), std::string::npos) << f.size;
        EXPECT_NE(replay.find("\ncapacity " + std::to_string(f.capacity) + "\n"),
                  std::string::npos);
        ASSERT_EQ(std::rename((dir + "/lumora-0001.replay").c_str(), (dir + "/r.replay").c_str()),
                  0);
        ASSERT_EQ(sim("--replay r.replay --trace again.txt --shot again.bmp"), 0) << err;
        EXPECT_TRUE(file("again.txt") == file("fast.txt")) << f.size;
        EXPECT_TRUE(file("again.bmp") == file("fast.bmp")) << f.size;
        EXPECT_EQ(sim(std::string("--replay r.replay --size ") + f.size + " --fireflies " +
                      std::to_string(f.capacity) + " --frames 1"),
                  0)
            << err;
        EXPECT_EQ(sim("--replay r.replay --fireflies 7 --trace t.txt"), 2);
        EXPECT_NE(err.find("with " + std::to_string(f.capacity) + " slots"), std::string::npos)
            << err;
    }
    // Without the options a kept session is the one it always was.
    std::system(("rm -f '" + dir + "'/*.replay").c_str());
    ASSERT_EQ(sim("--settings crowd.sav --input in.txt --frames 24"), 0) << err;
    EXPECT_EQ(file("lumora-0001.replay").rfind("lumora-replay 2\nframes 24\nseed ", 0), 0u);
    EXPECT_EQ(file("lumora-0001.replay").find("\nfield "), std::string::npos);

    for (const char* bad : {"--size 319x240", "--size 1024x4321", "--size 1024", "--size x768",
                            "--size 1024x768x2", "--size -1024x768", "--fireflies 0",
                            "--fireflies 50001", "--fireflies 2k", "--size", "--fireflies"}) {
        EXPECT_EQ(sim(std::string(bad) + " --trace bad.txt --shot bad.bmp"), 2) << bad;
        const bool size = std::strstr(bad, "--size") != nullptr;
        if (std::strchr(bad, ' ') != nullptr) {
            EXPECT_NE(err.find(size ? "320x240 to 7680x4320" : "1 to 50000"), std::string::npos)
                << err;
        }
        EXPECT_EQ(file("bad.txt") + file("bad.bmp"), "") << bad << ": nothing is written";
    }
}
