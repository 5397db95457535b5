// The application shell: start-up, media loading, one frame in its fixed order, and shutdown.
// The window program, the full-screen program and the headless runner share all of it but
// the display.
#pragma once

#include "sim/synchrony.h"
#include "sound/frame_sound.h"

struct BITMAP;
struct InputSnapshot;

// Pictures the frame loop uses, loaded once and kept until the process ends.
extern BITMAP* title_image;
extern BITMAP* background_image;

// What watches the world: measured from it after each frame, never written into it, and put
// back to its defaults with the world.
struct FrameWatch {
    Synchrony synchrony;         // how far the swarms blinked in step after the latest frame
    OrderHistory order_history;  // and over the latest frames, for the graph
    FrameSound sound;            // the latest frame's sound, when the frame makes one
};
extern FrameWatch watch;

// What a frame does besides the simulation. The headless runner can leave out every drawing
// step; the status line and the cursor's idle count still run.
// The straightforward reference paths (the library's single-pixel calls, scaling the
// background every frame, the walk over the whole table) can be chosen instead of the fast
// ones, which give the same results.
struct FrameOptions {
    bool draw = true;
    bool reference = false;
    bool sound = false;  // make the frame's sound, for a player or a file
    // Find the blink peaks even without the sound, for other programs (frame_peaks()).
    bool flashes = false;
};

// The program's main: start-up, title screen, frame loop, shutdown. Returns the exit status.
int run_simulation(int argc, char** argv);

// Frees every firefly slot and loads the swarm settings; returns whether they loaded.
bool reset_world();

// Puts everything a run changes back to its value at program load: the world, the interface
// variables, the settings file's path and the folders start-up chose. The media stay loaded.
void clear_program_state();

// Ends the process with exit status 1 after telling the user which file program could not
// load: a line on standard error, then the hint if one is given, and a message box too once a
// window is open.
[[noreturn]] void fail_to_start(const char* program, const char* file, const char* hint = nullptr);

// Empties the library's buffer of pending key presses.
void shutdown_system();

// Loads the font, the shine picture and the cursors from dir (empty for the working
// directory). On failure returns false and names the file in failed; nothing of a file that
// failed is kept.
bool load_startup_media(const char* dir, const char*& failed);

// Loads the title and background pictures, like load_startup_media.
bool load_loop_pictures(const char* dir, const char*& failed);

// Fills the glow kernel from the red channel of the shine picture's top-left 10 by 10 pixels.
void fill_shine_kernel();

// Scales the background picture over the whole back buffer; pixels of the mask colour are
// skipped. The fast way copies a picture scaled once by prepare_background.
void draw_background(BITMAP* back_buffer, bool reference = false);

// Scales the background once for the fast repaint; call after load_loop_pictures.
bool prepare_background();

// The background scaled once, when it can stand in for the scaled picture by a plain copy (it
// has no pixel of the mask colour, which scaling would skip); otherwise null.
BITMAP* plain_background();

// One frame in order: the session keeps its input, then background, keyboard, population,
// steering and motion, fireflies, panel, synchrony graph, help, status line, the picture F12
// asked for, the cursor, the mouse tools; then the synchrony is measured, the frame's sound
// made and the replay F9 asked for kept. Copying to the screen and playing the sound are the
// caller's.
void run_frame(BITMAP* back_buffer, const InputSnapshot& input, const FrameOptions& options);
