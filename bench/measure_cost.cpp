// Measures what the synchrony measures cost a frame: runs the program's own frames on a
// settings file (drawing at 32 bits, high detail, no input) and, after every frame, times again
// what measuring added to it, many times over the table that frame left. The glow works out
// each firefly's blink point (sine and cosine) where it used to work out the sine alone, and
// the measures read the points: the cost is the measuring plus the points less the sines.
// Prints the median frame time (which already includes one measuring), that cost and its share
// of the frame, and the straightforward measuring (every point worked out afresh) and its share.
// Last, the sound of each frame (sound/frame_sound.h), made once after it, as the window and
// lumora-sim --audio make it: its median time and its share of the frame. It follows every
// firefly from frame to frame, so it cannot be timed again over the same table.
// Usage: measure-cost ASSETS_DIR SETTINGS FRAMES
#include <allegro.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/shell.h"
#include "bench/measured_run.h"
#include "sim/blink_point.h"
#include "sim/synchrony.h"
#include "sound/frame_sound.h"
#include "ui/input.h"

constexpr int REPEATS = 20;  // timings per frame, to rise well above the clock's grain

static double median(std::vector<double>& v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

int main(int argc, char** argv) {
    int frames = 0;
    BITMAP* back_buffer = nullptr;
    if (!start_measured_run("measure-cost", argc, argv, frames, back_buffer)) return 2;

    using Clock = std::chrono::steady_clock;
    // Milliseconds of one of REPEATS timings.
    const auto ms = [](Clock::time_point a, Clock::time_point b) {
        return std::chrono::duration<double, std::milli>(b - a).count() / REPEATS;
    };
    const InputSnapshot input;
    const FrameOptions options;
    std::vector<double> frame_ms, cost_ms, plain_ms, sound_ms;
    static FrameSound sound;
    Synchrony measured;
    double sines = 0.0;
    for (int frame = 1; frame <= frames; ++frame) {
        const auto t0 = Clock::now();
        run_frame(back_buffer, input, options);
        const auto t1 = Clock::now();
        for (int r = 0; r < REPEATS; ++r) measure_synchrony(measured);
        const auto t2 = Clock::now();
        for (int r = 0; r < REPEATS; ++r) {
            forget_blink_points();
            for (int i = 0; i < firefly_capacity; ++i)
                if (is_live(fireflies[i])) sines += blink_point(i).sine;
        }
        const auto t3 = Clock::now();
        for (int r = 0; r < REPEATS; ++r) {
            for (int i = 0; i < firefly_capacity; ++i)
                if (is_live(fireflies[i]))
                    sines += std::sin(static_cast<double>(fireflies[i].glow_phase));
        }
        const auto t4 = Clock::now();
        for (int r = 0; r < REPEATS; ++r) measure_synchrony_plain(measured);
        const auto t5 = Clock::now();
        make_frame_sound(sound, true);
        const auto t6 = Clock::now();
        frame_ms.push_back(ms(t0, t1) * REPEATS);
        cost_ms.push_back(ms(t1, t2) + ms(t2, t3) - ms(t3, t4));
        plain_ms.push_back(ms(t4, t5));
        sound_ms.push_back(ms(t5, t6) * REPEATS);
    }
    // Keeps the work from being left out as unused.
    if (measured.global_order < 0.0 || sines == 0.5) std::puts("");
    const double frame = median(frame_ms);
    const double cost = median(cost_ms);
    const double plain = median(plain_ms);
    const double sounding = median(sound_ms);
    std::printf("%.4f %.4f %.2f %.4f %.2f %.4f %.2f\n", frame, cost, 100.0 * cost / frame, plain,
                100.0 * plain / frame, sounding, 100.0 * sounding / frame);
    destroy_bitmap(back_buffer);
    return 0;
}
END_OF_MAIN()
