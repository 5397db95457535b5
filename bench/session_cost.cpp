// Measures what keeping the session costs a frame: runs the program's own frames on a settings
// file (drawing at 32 bits, high detail) while the session is kept and the mouse moves in every
// frame, the costliest case, since every frame then adds a line. Then it times keeping alone
// over many frames, with the mouse moving in every one and with nothing changing. Prints the
// median frame time in ms, the two costs in ns a frame, the costlier one's share of the frame
// in percent, and the memory an hour of a mouse moving in every frame takes, in MB.
// Usage: session-cost ASSETS_DIR SETTINGS FRAMES
#include <allegro.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/shell.h"
#include "bench/measured_run.h"
#include "files/replay_file.h"
#include "ui/input.h"
#include "ui/session.h"

constexpr int KEEPS = 1000;  // frames of keeping timed for every frame run

// The mouse as a hand moves it: a new position in every frame.
static InputSnapshot moving_mouse(int frame) {
    InputSnapshot in;
    in.mouse_x = 100 + frame % 800;
    in.mouse_y = 100 + (frame / 800) % 500;
    return in;
}

// Nanoseconds a frame of keeping count frames of input from input(frame).
template <typename Input>
static double keeping_ns(int count, Input input) {
    keep_session();
    const auto t0 = std::chrono::steady_clock::now();
    for (int frame = 1; frame <= count; ++frame) keep_frame_input(input(frame));
    const auto t1 = std::chrono::steady_clock::now();
    end_session();
    return std::chrono::duration<double, std::nano>(t1 - t0).count() / count;
}

int main(int argc, char** argv) {
    int frames = 0;
    BITMAP* back_buffer = nullptr;
    if (!start_measured_run("session-cost", argc, argv, frames, back_buffer)) return 2;

    keep_session();
    const FrameOptions options;
    std::vector<double> frame_ms;
    for (int frame = 1; frame <= frames; ++frame) {
        const InputSnapshot input = moving_mouse(frame);
        const auto t0 = std::chrono::steady_clock::now();
        run_frame(back_buffer, input, options);
        const auto t1 = std::chrono::steady_clock::now();
        frame_ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    end_session();
    std::sort(frame_ms.begin(), frame_ms.end());
    const double frame = frame_ms[frame_ms.size() / 2];

    const int count = frames * KEEPS;
    const InputSnapshot still;
    const double moving = keeping_ns(count, moving_mouse);
    const double quiet = keeping_ns(count, [&](int) -> const InputSnapshot& { return still; });
    const double hour_mb = 60.0 * 60 * 60 * sizeof(KeptInput) / 1e6;
    std::printf("%.4f %.1f %.1f %.3f %.1f\n", frame, moving, quiet, 100.0 * moving / (frame * 1e6),
                hour_mb);
    destroy_bitmap(back_buffer);
    return 0;
}
END_OF_MAIN()
