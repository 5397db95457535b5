// Command-line options of the headless runner.
#pragma once

#include <cstdint>
#include <string>

struct SimOptions {
    std::string settings = "lmr.sav";  // loaded at start-up, saved and loaded by S and L
    std::string assets;                // folder of the media files; empty: working directory
    uint32_t seed = 1;
    int64_t frames = 1000;
    std::string input;  // input script; empty: no key, mouse at (0, 0), no button
    std::string trace;  // empty: no trace
    std::string shot;   // empty: no picture
    int depth = 32;
    bool draw = true;
    bool reference = false;  // the straightforward paths instead of the fast ones
    bool version = false;    // print the version and run nothing
};

extern const char* const SIM_USAGE;

// Reads the arguments; on a bad one returns false with a message naming it.
bool parse_sim_options(int argc, char** argv, SimOptions& options, std::string& error);
