// lumora-sim: the frame loop without a display. No window, no title screen, no pacing and no
// copy to the screen; every frame is the program's own, fed from an input script. It is the
// benchmark, the way to make pictures without a display, and the way tests drive whole runs.
#include <allegro.h>

#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/shell.h"
#include "headless/input_script.h"
#include "headless/sim_options.h"
#include "headless/trace.h"
#include "sim/random.h"
#include "sim/world.h"
#include "ui/input.h"
#include "ui/interface_state.h"
#include "ui/preset.h"
#include "ui/settings_file.h"

constexpr int EXIT_BAD_USAGE = 2;

void fail_to_start(const char* file) {
    std::fprintf(stderr, "lumora-sim: the file \"%s\" is missing or cannot be read\n", file);
    std::exit(1);
}

static bool load_script(const std::string& path, std::vector<ScriptLine>& lines) {
    std::FILE* in = std::fopen(path.c_str(), "r");
    if (in == nullptr) {
        std::fprintf(stderr, "lumora-sim: cannot read the input script '%s'\n", path.c_str());
        return false;
    }
    std::string error;
    const bool ok = read_input_script(in, lines, error);
    std::fclose(in);
    if (!ok)
        std::fprintf(stderr, "lumora-sim: input script '%s' %s\n", path.c_str(), error.c_str());
    return ok;
}

static int live_fireflies() {
    int n = 0;
    for (const Firefly& f : fireflies) n += f.swarm > 0.0f ? 1 : 0;
    return n;
}

int main(int argc, char** argv) {
    SimOptions options;
    std::string error;
    if (!parse_sim_options(argc, argv, options, error)) {
        std::fprintf(stderr, "lumora-sim: %s\n%s", error.c_str(), SIM_USAGE);
        return EXIT_BAD_USAGE;
    }
    std::vector<ScriptLine> script;
    if (!options.input.empty() && !load_script(options.input, script)) return EXIT_BAD_USAGE;

    TraceWriter trace;
    if (!options.trace.empty()) {
        trace.out = std::fopen(options.trace.c_str(), "w");
        if (trace.out == nullptr) {
            std::fprintf(stderr, "lumora-sim: cannot write the trace '%s'\n",
                         options.trace.c_str());
            return EXIT_BAD_USAGE;
        }
        static char trace_buffer[1 << 16];
        std::setvbuf(trace.out, trace_buffer, _IOFBF, sizeof trace_buffer);
    }

    // Memory bitmaps, pictures and fonts need no display.
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(options.depth);
    std::signal(SIGXFSZ, SIG_IGN);

    const char* failed = nullptr;
    const char* assets = options.assets.c_str();
    if (!load_startup_media(assets, failed) || !load_loop_pictures(assets, failed))
        fail_to_start(failed);
    if (!options.reference) prepare_background();
    fill_shine_kernel();
    seed_random(options.seed);

    ScriptCursor cursor;
    cursor.lines = &script;
    const InputSnapshot& start = input_at(cursor, 0);
    last_mouse_x = start.mouse_x;
    last_mouse_y = start.mouse_y;

    settings_path = options.settings.c_str();
    // The number keys find the presets beside the media.
    const std::string presets =
        options.assets.empty() ? PRESETS_FOLDER_NAME : options.assets + "/" + PRESETS_FOLDER_NAME;
    presets_folder = presets.c_str();
    reset_world();

    BITMAP* back_buffer = create_bitmap(SCREEN_W_PX, SCREEN_H_PX);
    if (back_buffer == nullptr) {
        std::fprintf(stderr, "lumora-sim: not enough memory for the picture\n");
        return 1;
    }
    clear_bitmap(back_buffer);
    if (options.draw) draw_background(back_buffer, options.reference);

    FrameOptions frame_options;
    frame_options.draw = options.draw;
    frame_options.reference = options.reference;
    int64_t frames_run = 0;
    const auto started = std::chrono::steady_clock::now();
    for (int64_t frame = 1; frame <= options.frames; ++frame) {
        const InputSnapshot& input = input_at(cursor, frame);
        if (input.held[KEY_ESC]) break;
        run_frame(back_buffer, input, frame_options);
        frames_run = frame;
        if (trace.out != nullptr) write_trace_frame(trace, frame);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    if (trace.out != nullptr && std::fclose(trace.out) != 0) {
        std::fprintf(stderr, "lumora-sim: writing the trace '%s' failed\n", options.trace.c_str());
        return 1;
    }
    if (!options.shot.empty() && save_bmp(options.shot.c_str(), back_buffer, nullptr) != 0) {
        std::fprintf(stderr, "lumora-sim: cannot write the picture '%s'\n", options.shot.c_str());
        return 1;
    }
    destroy_bitmap(back_buffer);

    std::printf("frames=%" PRId64 " fireflies=%d seconds=%.6f fps=%.1f\n", frames_run,
                live_fireflies(), seconds, seconds > 0.0 ? frames_run / seconds : 0.0);
    return 0;
}
