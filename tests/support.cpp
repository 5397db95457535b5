#include "tests/support.h"

#include <allegro.h>
#include <stdlib.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/shell.h"
#include "sim/steering_grid.h"
#include "sim/world.h"

void init_headless(int depth) {
    static bool started = false;
    if (!started) {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        started = true;
    }
    set_color_depth(depth);
}

void reset_state() {
    clear_world();
    reset_steering_grid();
    set_angle_constants();
}

std::string make_temp_dir() {
    char pattern[] = "/tmp/lumora-test-XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir != nullptr ? dir : "";
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void write_file(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}
