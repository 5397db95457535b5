// lumora-sim: the frame loop without a display. No window, no title screen, no pacing and no
// copy to the screen; every frame is the program's own, fed from an input script. It is the
// benchmark, the way to make pictures without a display, and the way tests drive whole runs.
#include <allegro.h>
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
#include "files/write_all.h"
#include "headless/input_script.h"
#include "headless/sim_files.h"
#include "headless/raw_video.h"
#include "headless/replay_run.h"
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
#include "ui/session.h"
#include "ui/settings_file.h"

constexpr int EXIT_BAD_USAGE = 2;

// The shipped settings an installed runner starts from; startup_settings_path points into it.
static std::string shipped_settings;

// The fields a user edits, one a line: the position in the record, then the name that sweep
// files use. Scripts read the settings file's layout from here.
static void print_fields() {
    for (int i = 0; i < EDITABLE_FIELDS; ++i) {
        const SwarmField& f = SWARM_FIELD_TABLE[i];
        std::printf("%d %s\n", f.position, f.name);
    }
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
    if (options.help) {
        return write_all(STDOUT_FILENO, SIM_USAGE) && write_all(STDOUT_FILENO, SIM_HELP) ? 0 : 1;
    }
    if (options.version || options.fields) {
        if (options.version) {
            std::printf("lumora-sim %s\n", LUMORA_VERSION);
        } else {
            print_fields();
        }
        if (flush_standard_output()) return 0;
        std::fprintf(stderr, "lumora-sim: writing the %s failed\n",
                     options.version ? "version" : "field list");
        return 1;
    }

    // Every input first: the script, the media, the settings.
    std::vector<ScriptLine> script;
    if (!options.input.empty() && !load_script(options.input, script)) return EXIT_BAD_USAGE;
    if (!options.replay.empty() && !prepare_replay(options, script)) return EXIT_BAD_USAGE;
    if (!options.audio.empty() && options.frames > WAV_MAX_FRAMES) {
        std::fprintf(stderr, "lumora-sim: --audio holds at most %" PRId64 " frames\n",
                     WAV_MAX_FRAMES);
        return EXIT_BAD_USAGE;
    }

    // Memory bitmaps, pictures and fonts need no display.
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(options.depth);
    std::signal(SIGXFSZ, SIG_IGN);

    // Without --assets, a working directory without the media gives way to the installed share
    // folder. Such an installed runner starts from the shipped settings when the settings file
    // it saves to does not exist yet, unless --settings named that file.
    std::string media = options.assets;
    if (media.empty()) media = find_media_dir("", own_program_path());
    if (!media.empty() && media != options.assets && !options.settings_given &&
        access(options.settings.c_str(), F_OK) != 0) {
        shipped_settings = media + "/" + SETTINGS_FILE_NAME;
        startup_settings_path = shipped_settings.c_str();
    }
    media_dir = media.c_str();
    const char* failed = nullptr;
    const char* assets = media_dir;
    // Started away from its media, the runner says which option finds them.
    if (!load_startup_media(assets, failed) || !load_loop_pictures(assets, failed))
        fail_to_start("lumora-sim", failed,
                      options.assets.empty()
                          ? "lumora-sim: the media are neither in the working directory nor "
                            "installed; name their folder with --assets DIR."
                          : nullptr);
    if (!options.reference) prepare_background();
    fill_shine_kernel();
    seed_random(options.seed);

    ScriptCursor cursor;
    cursor.lines = &script;
    const InputSnapshot& start = input_at(cursor, 0);
    last_mouse_x = start.mouse_x;
    last_mouse_y = start.mouse_y;

    settings_path = options.settings.c_str();
    if (options.replay.empty()) {
        if (!reset_world() && options.settings_given) {
            report_settings_fault(options.settings);
            return 1;
        }
        keep_session();
    } else {
        start_replay(options);
    }

    // Then the outputs, checked against the inputs before any is opened.
    RunFiles files = sim_inputs(options, startup_settings_path, media_dir);
    SimOutputs outputs;
    if (const int status = open_sim_outputs(options, files, outputs)) return status;
    TraceWriter& trace = outputs.trace;
    StatsWriter& stats = outputs.stats;
    RawVideo& video = outputs.video;
    WavFile& wav = outputs.wav;
    // The series' file names are formatted into one buffer, long enough for any frame number.
    std::vector<char> series_path(options.frames_dir.size() + 40);
    int64_t series_count = 0;

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
        frame_options.draw = options.draw && frame >= options.draw_from;
        run_frame(back_buffer, input, frame_options);
        frames_run = frame;
        if (!replay_going_well(options, frame, false)) return 1;
        if (video.out != nullptr && frame >= options.draw_from &&
            !write_raw_frame(video, back_buffer)) {
            std::fprintf(stderr, "lumora-sim: writing the video '%s' failed\n",
                         options.raw_video.c_str());
            return 1;
        }
        if (trace.out != nullptr) write_trace_frame(trace, frame);
        // A table with a gap or a torn row would mislead: stop at the first failed write.
        if (!write_stats_frame(stats, frame, frame_synchrony)) {
            std::fprintf(stderr,
                         "lumora-sim: writing the statistics '%s' failed at frame %" PRId64
                         "; the table ends at the frame before\n",
                         options.stats.c_str(), frame);
            return 1;
        }
        if (wav.out != nullptr && !write_wav_frame(wav, frame_sound)) break;
        if (!options.frames_dir.empty() && frame >= options.draw_from &&
            frame % options.every == 0) {
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
    if (!replay_going_well(options, frames_run, true)) return 1;
    if (!close_raw_video(video)) {
        std::fprintf(stderr, "lumora-sim: writing the video '%s' failed\n",
                     options.raw_video.c_str());
        return 1;
    }

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
    if (!options.shot.empty() && !save_shot(options.shot, back_buffer)) {
        std::fprintf(stderr, "lumora-sim: cannot write the picture '%s'\n", options.shot.c_str());
        return 1;
    }
    destroy_bitmap(back_buffer);

    // With the video on standard output the summary goes to standard error.
    std::fprintf(video.to_stdout ? stderr : stdout,
                 "frames=%" PRId64 " fireflies=%d seconds=%.6f fps=%.1f\n", frames_run,
                 live_fireflies(), seconds, seconds > 0.0 ? frames_run / seconds : 0.0);
    if (!flush_standard_output()) {
        std::fprintf(stderr, "lumora-sim: writing the summary failed\n");
        return 1;
    }
    return 0;
}
