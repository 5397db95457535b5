#include "app/run.h"

#include <allegro.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/desktop_area.h"
#include "app/file_places.h"
#include "app/shell.h"
#include "sim/random.h"
#include "sim/world.h"
#include "ui/explore.h"
#include "ui/folders.h"
#include "ui/interface_state.h"
#include "ui/settings_file.h"

RunDef default_run_def() {
    RunDef def;
    def.program = "lumora";
    def.display = RunDisplay::NONE;
    def.depth = 32;
    def.seed = 1;
    def.media_dir = "";
    def.settings = "";
    def.settings_given = false;
    def.load_settings = true;
    def.media_may_miss = false;
    def.missing_media_hint = nullptr;
    def.mouse_x = 0;
    def.mouse_y = 0;
    def.draw = true;
    def.reference = false;
    def.field_w = SCREEN_W_PX;
    def.field_h = SCREEN_H_PX;
    def.fill_screen = false;
    def.capacity = MAX_FIREFLIES;
    return def;
}

void start_library(int depth) {
    // Memory bitmaps, pictures and fonts need no display.
    if (system_driver == nullptr) install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(depth);
}

// The size a run that fills the screen asks for, in w and h: for a window the desktop's free
// area (what the window manager leaves, the whole screen without one), for the full screen the
// display's own resolution, so that no mode is switched. Kept within the field's limits; w and
// h stay as they are when the library cannot tell.
static void screen_size(RunDisplay display, int& w, int& h) {
    int sw = 0, sh = 0;
    const bool found = (display == RunDisplay::WINDOW && desktop_free_area(sw, sh)) ||
                       get_desktop_resolution(&sw, &sh) == 0;
    if (!found || sw <= 0 || sh <= 0) return;
    w = std::clamp(sw, FIELD_W_LEAST, FIELD_W_MOST);
    h = std::clamp(sh, FIELD_H_LEAST, FIELD_H_MOST);
}

// Opens the window or the screen, with the keyboard, the mouse and the timer, at the run's size
// or the screen's, which it returns in w and h. A display that cannot be opened ends the
// process with exit status -1.
static void init_system(const RunDef& def, int& w, int& h) {
    // Handing atexit over makes the library close itself down however the process ends.
    // Without a system driver (no display to connect to) nothing of the library may be used.
    if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0) {
        std::fprintf(stderr, "%s cannot start: %s\n", def.program,
                     allegro_error[0] != '\0' ? allegro_error : "no display to open a window on");
        std::exit(-1);
    }
    int depth = desktop_color_depth();
    if (depth == 0) depth = 32;
    set_color_depth(depth);
    const bool full = def.display == RunDisplay::FULL_SCREEN;
    const int driver = full ? GFX_AUTODETECT_FULLSCREEN : GFX_AUTODETECT_WINDOWED;
    w = def.field_w;
    h = def.field_h;
    if (def.fill_screen) screen_size(def.display, w, h);
    if (set_gfx_mode(driver, w, h, 0, 0) != 0) {
        // The library's own words first, then what the user can do about it.
        const bool default_size = w == SCREEN_W_PX && h == SCREEN_H_PX;
        std::string text = std::string(def.program) + " cannot open " +
                           (full ? "the screen at " : "a window of ") + std::to_string(w) + " by " +
                           std::to_string(h) + ": " + allegro_error + "\n";
        if (!default_size)
            text += "Without --size it opens at 1024 by 768, or try a smaller --size.\n";
        std::fputs(text.c_str(), stderr);
        allegro_message("%s", text.c_str());
        std::exit(-1);
    }
    set_window_title("lumora");
    install_timer();
    install_keyboard();
    install_mouse();
}

// The window finds its places as an installed program does (the user's folders); a runner
// reads the media from where it was told or finds them, and uses the settings file it names.
static FilePlaces places_of(const RunDef& def) {
    const PlaceInputs in = this_process_inputs();
    if (def.settings.empty()) return find_file_places(in);
    return find_runner_places(in, def.media_dir, def.settings, def.settings_given);
}

// The media stay loaded for the rest of the process; they are loaded again only for another
// folder or colour depth, as the tests' starts ask.
static bool load_media(const std::string& dir, const char*& failed) {
    static std::string loaded_dir;
    static int loaded_depth = 0;
    if (loaded_depth == get_color_depth() && loaded_dir == dir) return true;
    if (!load_startup_media(dir.c_str(), failed) || !load_loop_pictures(dir.c_str(), failed))
        return false;
    fill_shine_kernel();
    loaded_dir = dir;
    loaded_depth = get_color_depth();
    return true;
}

FrameOptions frame_options_of(const RunDef& def) {
    FrameOptions options;
    options.draw = def.draw;
    options.reference = def.reference;
    return options;
}

static void fail_for_memory(const char* program) {
    std::fprintf(stderr, "%s cannot start: there is not enough memory for the picture.\n", program);
    if (screen != nullptr)
        allegro_message("%s cannot start: there is not enough memory for the picture.\n", program);
    std::exit(1);
}

void start_run(const RunDef& def, Run& run) {
    int field_w = def.field_w, field_h = def.field_h;
    if (def.display != RunDisplay::NONE) {
        init_system(def, field_w, field_h);
    } else {
        start_library(def.depth);
    }
    // A save that reaches the file size limit must fail and say so, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);

    clear_program_state();
    set_field(field_w, field_h, def.capacity);
    // Found once the display works: a program that cannot start makes no folder of the user's.
    file_places = places_of(def);
    run.missing_media = nullptr;
    const char* failed = nullptr;
    if (!load_media(file_places.media_dir, failed)) {
        if (!def.media_may_miss) fail_to_start(def.program, failed, def.missing_media_hint);
        run.missing_media = failed;
    }
    // The picture and the background scaled to it are made again only for another size or
    // colour depth (or other media).
    static BITMAP* back_buffer = nullptr;
    static const BITMAP* scaled_from = nullptr;
    if (back_buffer == nullptr || bitmap_color_depth(back_buffer) != get_color_depth() ||
        back_buffer->w != field_w_px || back_buffer->h != field_h_px) {
        if (back_buffer != nullptr) destroy_bitmap(back_buffer);
        back_buffer = create_bitmap(field_w_px, field_h_px);
        if (back_buffer == nullptr) fail_for_memory(def.program);
        scaled_from = nullptr;
    }
    if (run.missing_media == nullptr && scaled_from != background_image) {
        if (!prepare_background()) fail_for_memory(def.program);
        scaled_from = background_image;
    }
    clear_bitmap(back_buffer);
    run.back_buffer = back_buffer;

    seed_random(def.seed);
    seed_explore(def.seed);
    if (def.display != RunDisplay::NONE) {
        last_mouse_x = mouse_x;
        last_mouse_y = mouse_y;
    } else {
        last_mouse_x = def.mouse_x;
        last_mouse_y = def.mouse_y;
    }
    run.settings_loaded = def.load_settings && reset_world();
}
