// Command-line options of the headless runner.
#pragma once

#include <cstdint>
#include <string>

#include "app/instruments.h"
#include "sim/world.h"

struct SimOptions {
    std::string settings = "lmr.sav";  // loaded at start-up, saved and loaded by S and L
    bool settings_given = false;       // named with --settings: it must load
    std::string assets;                // folder of the media files; empty: working directory
    uint32_t seed = 1;
    int64_t frames = 1000;
    std::string input;  // input script; empty: no key, mouse at (0, 0), no button
    std::string trace;  // empty: no trace
    std::string shot;   // empty: no picture; PNG when the name ends in .png, BMP otherwise
    int depth = 32;
    bool draw = true;
    bool reference = false;     // the straightforward paths instead of the fast ones
    int field_w = SCREEN_W_PX;  // the field's size in pixels (--size WxH)
    int field_h = SCREEN_H_PX;
    int capacity = MAX_FIREFLIES;  // slots of the firefly table (--fireflies N)
    bool size_given = false;       // --size was given: a replay must have been kept at it
    bool fireflies_given = false;  // --fireflies was given: likewise
    std::string stats;             // synchrony table; empty: none
    int64_t stats_every = 1;       // a table row set for every this many frames
    std::string frames_dir;        // folder for a numbered picture series; empty: none
    std::string audio;             // WAV file of the run's sound; empty: none
    std::string midi;              // Standard MIDI File of the run's flashes; empty: none
    int64_t every = 1;             // a picture of the series for every this many frames
    bool version = false;          // print the version and run nothing
    bool fields = false;           // print the swarm fields' positions and names and run nothing
    bool help = false;             // print the usage and every option and run nothing
    InstrumentOptions osc;         // OSC out and in; with --osc-in the frames keep 60 a second

    // Replays and videos.
    std::string replay;         // a replay to play, with its own start, input and frames
    std::string pictures_dir;   // with a replay: where the pictures F12 kept are written again
    std::string raw_video;      // raw RGB frames for a video encoder; "-" for standard output
    int64_t draw_from = 1;      // frames before this one run without drawing or pictures
    bool frames_given = false;  // --frames was given: a replay stops there at the latest
};

// The usage lines, shown after a bad argument; --help prints them and then SIM_HELP, what the
// runner does and what every option means.
extern const char* const SIM_USAGE;
extern const char* const SIM_HELP;

// Reads the arguments; on a bad one, or on options that do not go together, returns false with
// a message naming it. --help (or -h) ends the reading: what follows it is not looked at.
bool parse_sim_options(int argc, char** argv, SimOptions& options, std::string& error);

// Whether a picture file name asks for PNG: it ends in ".png", in any case.
bool is_png_name(const std::string& path);
