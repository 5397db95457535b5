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
    std::string shot;   // empty: no picture; PNG when the name ends in .png, BMP otherwise
    int depth = 32;
    bool draw = true;
    bool reference = false;   // the straightforward paths instead of the fast ones
    std::string stats;        // synchrony table; empty: none
    int64_t stats_every = 1;  // a table row set for every this many frames
    std::string frames_dir;   // folder for a numbered picture series; empty: none
    std::string audio;        // WAV file of the run's sound; empty: none
    int64_t every = 1;        // a picture of the series for every this many frames
    bool version = false;     // print the version and run nothing
    bool fields = false;      // print the swarm fields' positions and names and run nothing
};

extern const char* const SIM_USAGE;

// Reads the arguments; on a bad one, or on options that do not go together, returns false with
// a message naming it.
bool parse_sim_options(int argc, char** argv, SimOptions& options, std::string& error);

// Whether a picture file name asks for PNG: it ends in ".png", in any case.
bool is_png_name(const std::string& path);
