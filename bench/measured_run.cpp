#include "bench/measured_run.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "app/shell.h"
#include "sim/random.h"
#include "sim/world.h"
#include "ui/settings_file.h"

bool start_measured_run(const char* program, int argc, char** argv, int& frames,
                        BITMAP*& back_buffer) {
    frames = argc == 4 ? std::atoi(argv[3]) : 0;
    if (frames < 1) {
        std::fprintf(stderr, "usage: %s ASSETS_DIR SETTINGS FRAMES\n", program);
        return false;
    }
    const char* assets_dir = argv[1];
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(32);
    const char* failed = nullptr;
    if (!load_startup_media(assets_dir, failed) || !load_loop_pictures(assets_dir, failed))
        fail_to_start(program, failed);
    prepare_background();
    fill_shine_kernel();
    seed_random(1);
    settings_path = argv[2];
    reset_world();
    back_buffer = create_bitmap(SCREEN_W_PX, SCREEN_H_PX);
    clear_bitmap(back_buffer);
    draw_background(back_buffer);
    return true;
}
