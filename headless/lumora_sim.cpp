// lumora-sim: the frame loop without a display. No window, no title screen, no pacing and no
// copy to the screen; every frame is the program's own, fed from an input script. It is the
// benchmark, the way to make pictures without a display, and the way tests drive whole runs.
#include <allegro.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/file_places.h"
#include "app/shell.h"
#include "headless/input_script.h"
#include "headless/sim_options.h"
#include "headless/stats_file.h"
#include "headless/trace.h"
#include "headless/wav_file.h"
#include "render/picture_file.h"
#include "sim/random.h"
#include "sim/world.h"
#include "ui/folders.h"
#include "ui/input.h"
#include "ui/interface_state.h"
#include "ui/settings_file.h"

constexpr int EXIT_BAD_USAGE = 2;

// The shipped settings an installed runner starts from; startup_settings_path points into it.
static std::string shipped_settings;

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

// Makes the folder of a picture series unless it is there already.
static bool make_frames_dir(const std::string& dir) {
    struct stat st;
    if (stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    return mkdir(dir.c_str(), 0777) == 0;
}

static bool save_picture(const std::string& path, BITMAP* bmp) {
    if (is_png_name(path)) return save_png(path.c_str(), bmp);
    return save_bmp(path.c_str(), bmp, nullptr) == 0;
}

// The fields a user edits, one a line: the position in the record, then the name that sweep
// files use. Scripts read the settings file's layout from here.
static bool print_fields() {
    for (int i = 0; i < EDITABLE_FIELDS; ++i) {
        const SwarmField& f = SWARM_FIELD_TABLE[i];
        if (std::printf("%d %s\n", f.position, f.name) < 0) return false;
    }
    return std::fflush(stdout) == 0;
}

static int live_fireflies() {
    int n = 0;
    for (const Firefly& f : fireflies) n += is_live(f) ? 1 : 0;
    return n;
}

int main(int argc, char** argv) {
    SimOptions options;
    std::string error;
    if (!parse_sim_options(argc, argv, options, error)) {
        std::fprintf(stderr, "lumora-sim: %s\n%s", error.c_str(), SIM_USAGE);
        return EXIT_BAD_USAGE;
    }
    if (options.version) {
        std::printf("lumora-sim %s\n", LUMORA_VERSION);
        return 0;
    }
    if (options.fields) {
        if (print_fields()) return 0;
        std::fprintf(stderr, "lumora-sim: writing the field list failed\n");
        return 1;
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

    StatsWriter stats;
    if (!options.stats.empty() &&
        !open_stats_file(stats, options.stats.c_str(), options.stats_every)) {
        std::fprintf(stderr, "lumora-sim: cannot write the statistics '%s'\n",
                     options.stats.c_str());
        return 1;
    }
    if (!options.frames_dir.empty() && !make_frames_dir(options.frames_dir)) {
        std::fprintf(stderr, "lumora-sim: cannot make the folder '%s' for the pictures\n",
                     options.frames_dir.c_str());
        return 1;
    }
    WavFile wav;
    if (!options.audio.empty() && !open_wav_file(wav, options.audio.c_str())) {
        std::fprintf(stderr, "lumora-sim: cannot write the sound '%s'\n", options.audio.c_str());
        return 1;
    }
    // The series' file names are formatted into one buffer, long enough for any frame number.
    std::vector<char> series_path(options.frames_dir.size() + 40);
    int64_t series_count = 0;

    // Memory bitmaps, pictures and fonts need no display.
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(options.depth);
    std::signal(SIGXFSZ, SIG_IGN);

    // Without --assets, a working directory without the media gives way to the installed share
    // folder. Such an installed runner starts from the shipped settings when the settings file
    // it saves to does not exist yet.
    std::string media = options.assets;
    if (media.empty()) media = find_media_dir("", own_program_path());
    if (!media.empty() && media != options.assets && access(options.settings.c_str(), F_OK) != 0) {
        shipped_settings = media + "/" + SETTINGS_FILE_NAME;
        startup_settings_path = shipped_settings.c_str();
    }
    media_dir = media.c_str();
    const char* failed = nullptr;
    const char* assets = media_dir;
    if (!load_startup_media(assets, failed) || !load_loop_pictures(assets, failed))
        fail_to_start("lumora-sim", failed);
    if (!options.reference) prepare_background();
    fill_shine_kernel();
    seed_random(options.seed);

    ScriptCursor cursor;
    cursor.lines = &script;
    const InputSnapshot& start = input_at(cursor, 0);
    last_mouse_x = start.mouse_x;
    last_mouse_y = start.mouse_y;

    settings_path = options.settings.c_str();
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
    frame_options.sound = wav.out != nullptr;
    int64_t frames_run = 0;
    const auto started = std::chrono::steady_clock::now();
    for (int64_t frame = 1; frame <= options.frames; ++frame) {
        const InputSnapshot& input = input_at(cursor, frame);
        if (input.held[KEY_ESC]) break;
        run_frame(back_buffer, input, frame_options);
        frames_run = frame;
        if (trace.out != nullptr) write_trace_frame(trace, frame);
        write_stats_frame(stats, frame, frame_synchrony);
        if (wav.out != nullptr && !write_wav_frame(wav, frame_sound)) break;
        if (!options.frames_dir.empty() && frame % options.every == 0) {
            ++series_count;
            std::snprintf(series_path.data(), series_path.size(), "%s/frame-%06" PRId64 ".png",
                          options.frames_dir.c_str(), series_count);
            // A series with a gap would make a video that skips: stop at the first failure.
            if (!save_png(series_path.data(), back_buffer)) {
                std::fprintf(stderr, "lumora-sim: cannot write the picture '%s'\n",
                             series_path.data());
                return 1;
            }
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    if (trace.out != nullptr && std::fclose(trace.out) != 0) {
        std::fprintf(stderr, "lumora-sim: writing the trace '%s' failed\n", options.trace.c_str());
        return 1;
    }
    if (wav.out != nullptr && !close_wav_file(wav)) {
        std::fprintf(stderr, "lumora-sim: writing the sound '%s' failed\n", options.audio.c_str());
        return 1;
    }
    if (!close_stats_file(stats)) {
        std::fprintf(stderr, "lumora-sim: writing the statistics '%s' failed\n",
                     options.stats.c_str());
        return 1;
    }
    if (!options.shot.empty() && !save_picture(options.shot, back_buffer)) {
        std::fprintf(stderr, "lumora-sim: cannot write the picture '%s'\n", options.shot.c_str());
        return 1;
    }
    destroy_bitmap(back_buffer);

    std::printf("frames=%" PRId64 " fireflies=%d seconds=%.6f fps=%.1f\n", frames_run,
                live_fireflies(), seconds, seconds > 0.0 ? frames_run / seconds : 0.0);
    return 0;
}
