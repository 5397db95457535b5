// Whole runs of the sweep runner as a user or a script drives it: a table names the sweep that
// wrote it, nothing the sweep reads is ever overwritten, and a failed write is an error.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "tests/support.h"

class SweepRunner : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = make_temp_dir();
        base = read_file(std::string(LUMORA_ASSETS_DIR) + "/lmr.sav");
        write_file(dir + "/base.sav", base);
        write_sweep(30);
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    // Two short runs of small swarms.
    void write_sweep(int frames) {
        write_file(dir + "/s.txt", "settings base.sav\nframes " + std::to_string(frames) +
                                       "\nvary all population 20 30\n");
    }
    std::string file(const std::string& name) { return read_file(dir + "/" + name); }
    // Runs lumora-sweep in the test's folder; returns the exit status. A run that hangs is
    // ended.
    int sweep(const std::string& args) {
        const int status = run_program(dir, LUMORA_SWEEP_PATH,
                                       "--assets '" + std::string(LUMORA_ASSETS_DIR) + "' " + args);
        err = read_file(dir + "/err.txt");
        return status;
    }

    std::string dir, base, err;
};

// A table resumed with other frames or other base settings would mix two sweeps: it is refused
// and left as it was. The sweep that wrote it completes it to the table a clean run writes.
TEST_F(SweepRunner, ResumeRefusesAnotherSweepsTable) {
    ASSERT_EQ(sweep("s.txt --jobs 1 --out whole.csv"), 0) << err;
    const std::string whole = file("whole.csv");
    size_t first_run = 0;
    for (int line = 0; line < 10; ++line) first_run = whole.find('\n', first_run) + 1;
    const std::string part = whole.substr(0, first_run);  // the header and run 0
    write_file(dir + "/t.csv", part);

    std::string edited = base;
    edited.replace(edited.find("\n1000\n"), 6, "\n1001\n");  // a communication range
    ASSERT_NE(edited, base);
    for (int round = 0; round < 2; ++round) {
        write_sweep(round == 0 ? 31 : 30);
        write_file(dir + "/base.sav", round == 0 ? base : edited);
        EXPECT_EQ(sweep("s.txt --out t.csv --resume"), 2) << round;
        EXPECT_NE(err.find("another sweep"), std::string::npos) << err;
        EXPECT_EQ(file("t.csv"), part) << round;
    }
    write_file(dir + "/base.sav", base);
    ASSERT_EQ(sweep("s.txt --out t.csv --resume"), 0) << err;
    EXPECT_EQ(file("t.csv"), whole);
}

// Nothing the sweep reads is ever its table, whatever name or link leads to it; a sweep that
// cannot run leaves an old table as it was.
TEST_F(SweepRunner, TableNeverOverwritesInputs) {
    ASSERT_EQ(symlink("s.txt", (dir + "/link.txt").c_str()), 0);
    const std::string sweep_text = file("s.txt");
    for (const char* out : {"base.sav", "s.txt", "link.txt", "./base.sav"}) {
        EXPECT_EQ(sweep(std::string("s.txt --out ") + out), 2) << out;
        EXPECT_FALSE(err.empty()) << out;
        EXPECT_EQ(file("base.sav"), base) << out;
        EXPECT_EQ(file("s.txt"), sweep_text) << out;
    }
    write_file(dir + "/old.csv", "kept\n");
    EXPECT_EQ(sweep("s.txt --out old.csv --assets missing"), 1);
    EXPECT_NE(err.find("myfont.pcx"), std::string::npos) << err;
    EXPECT_EQ(file("old.csv"), "kept\n");
}

// A full disk under standard output is an error with a message, so that a plan piped into
// another program never runs nothing in silence; a table file that cannot be written fails
// with the same status.
TEST_F(SweepRunner, FailedWritesToStandardOutputAreErrors) {
    for (const char* mode : {"--plan", "--header", "--run 1", "--jobs 1", "--out /dev/full"}) {
        EXPECT_EQ(sweep(std::string("s.txt ") + mode + " >/dev/full"), 1) << mode;
        EXPECT_NE(err.find("lumora-sweep: "), std::string::npos) << mode << ": " << err;
    }
}

// A FIFO, a device or a folder as the sweep file, or as the table to resume, is refused at
// once instead of waiting for a writer or reading without end.
TEST_F(SweepRunner, FifosDevicesAndFoldersAreRefused) {
    ASSERT_EQ(mkfifo((dir + "/fifo.txt").c_str(), 0644), 0);
    ASSERT_EQ(mkdir((dir + "/folder.txt").c_str(), 0755), 0);
    const struct {
        const char* args;
        const char* says;
    } cases[] = {
        {"fifo.txt --plan", "'fifo.txt' is not a regular file"},
        {"/dev/zero --plan", "'/dev/zero' is not a regular file"},
        {"folder.txt --plan", "'folder.txt' is a folder"},
        {"s.txt --out /dev/full --resume", "'/dev/full' is not a regular file"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sweep(c.args), 2) << c.args;
        EXPECT_NE(err.find(c.says), std::string::npos) << c.args << ": " << err;
    }
}
