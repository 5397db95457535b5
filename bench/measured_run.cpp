#include "bench/measured_run.h"

#include <allegro.h>

#include <cstdio>
#include <cstdlib>

#include "app/run.h"
#include "app/shell.h"

bool start_measured_run(const char* program, int argc, char** argv, int& frames,
                        BITMAP*& back_buffer) {
    frames = argc == 4 ? std::atoi(argv[3]) : 0;
    if (frames < 1) {
        std::fprintf(stderr, "usage: %s ASSETS_DIR SETTINGS FRAMES\n", program);
        return false;
    }
    RunDef def = default_run_def();
    def.program = program;
    def.media_dir = argv[1];
    def.settings = argv[2];
    def.settings_given = true;
    Run run;
    start_run(def, run);
    back_buffer = run.back_buffer;
    draw_background(back_buffer);
    return true;
}
