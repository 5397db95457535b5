// Whole runs of the headless runner in a fresh folder of their own, holding the default
// settings: a fixture for the tests that drive lumora-sim as a user or a script does.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support.h"

class Runner : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = make_temp_dir();
        write_file(dir + "/lmr.sav", read_file(std::string(LUMORA_ASSETS_DIR) + "/lmr.sav"));
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    // Runs lumora-sim in the test's folder with the given arguments, after the shell command
    // `before` (such as a ulimit); returns the exit status. A run that hangs is ended.
    int sim(const std::string& args, const std::string& before = "true") {
        const int status =
            run_program(dir, LUMORA_SIM_PATH,
                        "--assets '" + std::string(LUMORA_ASSETS_DIR) + "' " + args, before);
        out = read_file(dir + "/out.txt");
        err = read_file(dir + "/err.txt");
        return status;
    }
    std::string file(const std::string& name) { return read_file(dir + "/" + name); }

    std::string dir, out, err;
};
