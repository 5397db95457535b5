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
#include <thread>
#include <vector>

#include "app/file_places.h"
#include "app/instruments.h"
#include "app/run.h"
#include "app/shell.h"
#include "files/write_all.h"
#include "headless/input_script.h"
#include "headless/replay_run.h"
#include "headless/sim_files.h"
#include "headless/sim_options.h"
#include "headless/sim_outputs.h"
#include "render/picture_file.h"
#include "sim/random.h"
#include "sim/world.h"
#include "ui/folders.h"
#include "ui/input.h"
#include "ui/interface_state.h"
#include "ui/session.h"
#include "ui/settings_file.h"

constexpr int EXIT_BAD_USAGE = 2;
constexpr std::chrono::microseconds FRAME_TIME{16667};  // a frame at 60 a second

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
    for (int i = 0; i < firefly_capacity; ++i) n += is_live(fireflies[i]) ? 1 : 0;
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

    // Both directions of OSC, before anything runs.
    static Instruments instruments;
    if (!open_instruments("lumora-sim", options.osc, instruments)) return EXIT_BAD_USAGE;

    ScriptCursor cursor;
    cursor.lines = &script;
    const InputSnapshot& start = input_at(cursor, 0);
    RunDef def = default_run_def();
    def.program = "lumora-sim";
    def.depth = options.depth;
    def.seed = options.seed;
    def.media_dir = options.assets;
    // Started away from its media, the runner says which option finds them.
    if (options.assets.empty())
        def.missing_media_hint =
            "lumora-sim: the media are neither in the working directory nor installed; name "
            "their folder with --assets DIR.";
    def.settings = options.settings;
    def.settings_given = options.settings_given;
    def.load_settings = options.replay.empty();
    def.mouse_x = start.mouse_x;
    def.mouse_y = start.mouse_y;
    def.draw = options.draw;
    def.reference = options.reference;
    def.field_w = options.field_w;
    def.field_h = options.field_h;
    def.capacity = options.capacity;
    Run run;
    start_run(def, run);
    if (options.replay.empty()) {
        if (!run.settings_loaded && options.settings_given) {
            report_settings_fault(options.settings);
            return 1;
        }
        keep_session();
    } else {
        start_replay(options);
    }

    // Then the outputs, checked against the inputs before any is opened.
    RunFiles files = sim_inputs(
        options,
        file_places.startup_settings.empty() ? nullptr : file_places.startup_settings.c_str(),
        file_places.media_dir.c_str());
    SimOutputs outputs;
    if (const int status = open_sim_outputs(options, files, outputs)) return status;

    BITMAP* back_buffer = run.back_buffer;
    if (options.draw) draw_background(back_buffer, options.reference);

    FrameOptions frame_options = frame_options_of(def);
    frame_options.sound = is_recording_sound(outputs);
    frame_options.flashes = instruments.out >= 0 || is_recording_flashes(outputs);
    int64_t frames_run = 0;
    const auto started = std::chrono::steady_clock::now();
    for (int64_t frame = 1; frame <= options.frames; ++frame) {
        InputSnapshot input = input_at(cursor, frame);
        if (input.held[KEY_ESC]) break;
        // Taking commands, the runner plays along in real time.
        if (instruments.in >= 0) std::this_thread::sleep_until(started + frame * FRAME_TIME);
        listen_to_instruments(instruments, input);
        frame_options.draw = options.draw && frame >= options.draw_from;
        run_frame(back_buffer, input, frame_options);
        tell_instruments(instruments, frame);
        frames_run = frame;
        if (!replay_going_well(options, frame, false)) {
            abandon_sim_outputs(outputs);
            return 1;
        }
        if (!write_sim_frame(outputs, options, frame, back_buffer)) return 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!replay_going_well(options, frames_run, true)) {
        abandon_sim_outputs(outputs);
        return 1;
    }
    if (!close_sim_outputs(outputs, options, back_buffer)) return 1;
    close_instruments("lumora-sim", instruments);

    // With the video on standard output the summary goes to standard error.
    std::fprintf(outputs.video.file.to_stdout ? stderr : stdout,
                 "frames=%" PRId64 " fireflies=%d seconds=%.6f fps=%.1f\n", frames_run,
                 live_fireflies(), seconds, seconds > 0.0 ? frames_run / seconds : 0.0);
    if (!flush_standard_output()) {
        std::fprintf(stderr, "lumora-sim: writing the summary failed\n");
        return 1;
    }
    return 0;
}
