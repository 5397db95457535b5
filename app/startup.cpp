#include <allegro.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/file_places.h"
#include "app/shell.h"
#include "sim/random.h"
#include "sim/world.h"
#include "ui/folders.h"
#include "ui/interface_state.h"

// The window program and the full-screen program differ only in this driver.
#ifdef LUMORA_FULLSCREEN
static const int DISPLAY_DRIVER = GFX_AUTODETECT_FULLSCREEN;
#else
static const int DISPLAY_DRIVER = GFX_AUTODETECT_WINDOWED;
#endif

void init_system() {
    // Handing atexit over makes the library close itself down however the process ends.
    // Without a system driver (no display to connect to) nothing of the library may be used.
    if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0) {
        std::fprintf(stderr, "lumora cannot start: %s\n",
                     allegro_error[0] != '\0' ? allegro_error : "no display to open a window on");
        std::exit(-1);
    }

    int depth = desktop_color_depth();
    if (depth == 0) depth = 32;
    set_color_depth(depth);

    if (set_gfx_mode(DISPLAY_DRIVER, SCREEN_W_PX, SCREEN_H_PX, 0, 0) != 0) {
        allegro_message("%s", allegro_error);
        std::exit(-1);
    }
    set_window_title("lumora");

    install_timer();
    install_keyboard();
    install_mouse();

    // The second alone gave two windows started together the same swarms: the clock's
    // nanoseconds and the process number tell them apart.
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    seed_random(static_cast<uint32_t>(now.tv_sec) ^ static_cast<uint32_t>(now.tv_nsec) ^
                static_cast<uint32_t>(getpid()) << 16);

    // A save that reaches the file size limit must fail and say so, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);

    // Found once the display works: a program that cannot start makes no folder of the user's.
    use_file_places(find_file_places(this_process_inputs()));
    const char* failed = nullptr;
    if (!load_startup_media(media_dir, failed)) fail_to_start("lumora", failed);
    last_mouse_x = mouse_x;
    last_mouse_y = mouse_y;
    fill_shine_kernel();
}
