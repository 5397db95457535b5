// Times a frame as the crowd grows at a constant density: 2000 fireflies for every 1024 by 768
// pixels of field. Each run takes the settings file's swarms with their populations scaled so
// that they fill the table of N slots, on a 4:3 field of N / 2000 times the default's area
// (or on the size given), and draws every frame at 32 bits, high detail, with no input.
// Prints a line a run: fireflies, field width and height, the median ms a frame and ms per
// thousand fireflies, then the same for the process's processor time (both threads), which a
// busy machine disturbs less than the clock on the wall.
// With --one-thread the glow and the background copy keep to one thread.
// Usage: density-cost ASSETS_DIR SETTINGS FRAMES [--one-thread] N[:WxH]...
#include <allegro.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "app/run.h"
#include "app/shell.h"
#include "render/band_worker.h"
#include "sim/world.h"
#include "ui/input.h"

constexpr int WARM_UP_FRAMES = 30;  // the populations fill the table and the flight settles

// The process's processor time (both threads), in milliseconds.
static double cpu_now_ms() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return 1e3 * static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_nsec);
}

static double median(std::vector<double>& v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The field of n fireflies at the default density, its sides even and within the limits.
static void field_for(int n, int& w, int& h) {
    const double scale = std::sqrt(n / static_cast<double>(MAX_FIREFLIES));
    w = std::min(FIELD_W_MOST, 2 * static_cast<int>(std::lround(SCREEN_W_PX * scale / 2)));
    h = std::min(FIELD_H_MOST, 2 * static_cast<int>(std::lround(SCREEN_H_PX * scale / 2)));
}

// Scales the live swarms' populations so that they add up to n, the rest going to the first.
static void scale_populations(int n) {
    long total = 0;
    for (const Swarm& s : swarms) total += s.population;
    if (total <= 0) return;
    long given = 0;
    for (Swarm& s : swarms) {
        s.population = static_cast<int32_t>(s.population * static_cast<long>(n) / total);
        given += s.population;
    }
    for (Swarm& s : swarms) {
        if (given < n && s.population > 0) {
            ++s.population;
            ++given;
        }
    }
}

int main(int argc, char** argv) {
    const int frames = argc >= 5 ? std::atoi(argv[3]) : 0;
    if (frames < 1) {
        std::fprintf(stderr,
                     "usage: density-cost ASSETS_DIR SETTINGS FRAMES [--one-thread] N[:WxH]...\n");
        return 2;
    }
    using Clock = std::chrono::steady_clock;
    const InputSnapshot input;
    const FrameOptions options;
    int first = 4;
    if (std::strcmp(argv[first], "--one-thread") == 0) {
        set_drawing_threads(1);
        ++first;
    }
    for (int a = first; a < argc; ++a) {
        int n = 0, w = 0, h = 0;
        const int read = std::sscanf(argv[a], "%d:%dx%d", &n, &w, &h);
        if (read == 1) field_for(n, w, h);
        if ((read != 1 && read != 3) || !is_firefly_capacity(n) || !is_field_size(w, h)) {
            std::fprintf(stderr, "density-cost: not a crowd and field: %s\n", argv[a]);
            return 2;
        }
        RunDef def = default_run_def();
        def.program = "density-cost";
        def.media_dir = argv[1];
        def.settings = argv[2];
        def.settings_given = true;
        def.field_w = w;
        def.field_h = h;
        def.capacity = n;
        Run run;
        start_run(def, run);
        scale_populations(n);
        draw_background(run.back_buffer);
        std::vector<double> frame_ms, cpu_ms;
        for (int frame = 1; frame <= WARM_UP_FRAMES + frames; ++frame) {
            const double c0 = cpu_now_ms();
            const auto t0 = Clock::now();
            run_frame(run.back_buffer, input, options);
            const auto t1 = Clock::now();
            const double c1 = cpu_now_ms();
            if (frame > WARM_UP_FRAMES) {
                frame_ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
                cpu_ms.push_back(c1 - c0);
            }
        }
        int live = 0;
        for (int i = 0; i < firefly_capacity; ++i) live += is_live(fireflies[i]) ? 1 : 0;
        const double ms = median(frame_ms);
        const double cpu = median(cpu_ms);
        std::printf("%d %d %d %.4f %.4f %.4f %.4f\n", live, w, h, ms, 1000.0 * ms / live, cpu,
                    1000.0 * cpu / live);
        std::fflush(stdout);
    }
    return 0;
}
END_OF_MAIN()
