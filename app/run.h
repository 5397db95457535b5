// One description of a run and one start for it. Everything a run is started with is a field
// of RunDef, with its defaults written once in default_run_def(); every program (the window,
// the full screen, lumora-sim, lumora-sweep), the benchmarks and the tests change what they
// offer and call start_run:
//
//   RunDef def = default_run_def();
//   def.seed = 7;
//   Run run;
//   start_run(def, run);
//
// A later start in the same process (a sweep's next run, the next test) puts the program back
// to its start first; the library, the media and the picture are made once and kept.
#pragma once

#include <cstdint>
#include <string>

#include "app/shell.h"

struct BITMAP;

// Where a run is shown.
enum class RunDisplay : uint8_t { NONE, WINDOW, FULL_SCREEN };

struct RunDef {
    const char* program;  // the name the run's messages begin with
    RunDisplay display;
    int depth;      // colour depth without a display; with one, the desktop's
    uint32_t seed;  // the random generator before the first frame
    // The media folder; empty: the working directory when it holds them, else the installed
    // share folder.
    std::string media_dir;
    // The settings file S and L use. Empty: the place the window chooses (the working
    // directory's, or the user's when installed); a runner names its own.
    std::string settings;
    bool settings_given;  // the user named the settings file: it must load
    bool load_settings;   // start from the settings file (not when a replay brings its own)
    bool media_may_miss;  // a missing media file is reported in Run, not the end of the process
    const char* missing_media_hint;  // a line after a missing media file's message, or null
    int mouse_x, mouse_y;            // the mouse before the first frame, without a display
    bool draw;                       // draw the frames (the runners can leave it out)
    bool reference;                  // the straightforward paths instead of the fast ones
    int field_w, field_h;            // the field's size in pixels (is_field_size)
    bool fill_screen;                // with a display: the field takes the desktop's size
    int capacity;                    // slots of the firefly table (is_firefly_capacity)
};

// The window's defaults: the program "lumora" without a display, 32 bits, seed 1, the media and
// the settings found where the program finds them, the settings loaded, drawn the fast way, on
// a field of 1024 by 768 with 2000 slots.
RunDef default_run_def();

// What start_run made.
struct Run {
    BITMAP* back_buffer = nullptr;        // the picture the frames draw into, made once
    bool settings_loaded = false;         // the settings file loaded
    const char* missing_media = nullptr;  // with media_may_miss: the file that failed to load
};

// Starts the library (and the display the run asks for) once, puts the program back to its
// start, finds the run's files, loads the media once for their folder and colour depth, seeds
// the generator, places the mouse and loads the settings. Ends the process with a message when
// the display, the memory for the picture or a media file fails (unless media_may_miss).
void start_run(const RunDef& def, Run& run);

// How the run's frames are made: drawn or not, the fast or the straightforward paths. The sound
// is the caller's to ask for.
FrameOptions frame_options_of(const RunDef& def);

// The library without a display, started once, with the colour depth for new bitmaps.
void start_library(int depth);
