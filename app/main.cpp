#include <allegro.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "app/command_line.h"
#include "app/instruments.h"
#include "app/midi_port.h"
#include "app/open_argument.h"
#include "app/pacing.h"
#include "app/run.h"
#include "app/shell.h"
#include "app/sound_output.h"
#include "app/window_events.h"
#include "render/screen_notes.h"
#include "sim/world.h"
#include "ui/file_requests.h"
#include "ui/folders.h"
#include "ui/input.h"
#include "ui/input_keys.h"
#include "ui/replay_watch.h"
#include "ui/session.h"

constexpr int FRAMES_PER_SECOND = 60;

// The two programs differ only in their name and the display they ask for.
#ifdef LUMORA_FULLSCREEN
static const char* const PROGRAM_NAME = "lumora-fullscreen";
static const RunDisplay DISPLAY = RunDisplay::FULL_SCREEN;
#else
static const char* const PROGRAM_NAME = "lumora";
static const RunDisplay DISPLAY = RunDisplay::WINDOW;
#endif

// A close request from the window. It also ends a wait for the next tick, so the program ends
// at once on the title screen and in the frame loop.
static std::atomic<bool> close_requested{false};

static void request_close() {
    close_requested = true;
    stop_waiting();
}

// SIGTERM (a logout) and SIGINT end the program as the close button does: after the frame in
// progress, with the sound stopped and the files closed. They replace the library's own
// handlers, which abort. A second signal ends the program at once, should the first go unheard.
static void quit_on_signal(int) { request_close(); }

static void catch_quit_signals() {
    struct sigaction action = {};
    action.sa_handler = quit_on_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

static InputSnapshot read_input() {
    if (keyboard_needs_poll()) poll_keyboard();
    if (mouse_needs_poll()) poll_mouse();
    InputSnapshot in;
    for (int k = 0; k < KEY_MAX; ++k) in.held[k] = key[k] != 0;
    in.mouse_x = mouse_x;
    in.mouse_y = mouse_y;
    in.mouse_b = mouse_b;
    return in;
}

static bool key_held(int k) {
    if (keyboard_needs_poll()) poll_keyboard();
    return key[k] != 0;
}

void shutdown_system() { clear_keybuf(); }

// Shows the title, with lines about the file opened, until SPACE is held, looking once a tick.
// Returns false when the window was closed or ESC held instead ("ESC quit", as the title says).
static bool show_title(BITMAP* back_buffer, const char* const* lines, int line_count) {
    stretch_sprite(back_buffer, title_image, 0, 0, field_w_px, field_h_px);
    draw_title_note(back_buffer, lines, line_count);
    blit(back_buffer, screen, 0, 0, 0, 0, field_w_px, field_h_px);
    for (;;) {
        if (close_requested || key_held(KEY_ESC)) return false;
        if (key_held(KEY_SPACE)) return true;
        wait_for_tick();
    }
}

// One frame per tick of the frame timer until ESC or the close button. A frame that took
// longer than a tick is not made up for; its sound fades over the gap (app/sound_output.h). The
// session is kept from the first frame on, for F9.
static void run_frame_loop(BITMAP* back_buffer, Instruments& link) {
    // The first frame starts from a clean background even while SPACE is still held.
    draw_background(back_buffer);
    keep_session();
    FrameOptions options;
    options.flashes = link.out >= 0 || midi_port_open();
    for (int64_t frame = 1;; ++frame) {
        wait_for_tick();
        InputSnapshot input = read_input();
        if (input.held[KEY_ESC] || close_requested) break;
        options.sound = sound_output_wanted();
        listen_to_instruments(link, input);
        run_frame(back_buffer, input, options);
        tell_instruments(link, frame);
        if (options.sound) play_frame_sound(watch.sound);
        send_frame_midi(frame_peaks());
        blit(back_buffer, screen, 0, 0, 0, 0, field_w_px, field_h_px);
    }
}

// Both directions of OSC, opened before anything runs; large, so made once here.
static Instruments instruments;
// Plays a replay in the window frame for frame as it was kept, one a tick, its input taken
// from the replay; the keyboard only watches (ui/replay_watch.h) until ESC or the close button.
// It stops at its last frame, or where it plays differently from its session.
static void watch_replay_loop(BITMAP* back_buffer, const Session& session) {
    draw_background(back_buffer);
    // The last frame as drawn, without the cursor, for F12.
    BITMAP* shown = create_bitmap(field_w_px, field_h_px);
    if (shown != nullptr) clear_bitmap(shown);
    BITMAP* noted = create_bitmap(field_w_px, field_h_px);  // the frame with the note over it
    file_requests.keep_drawn = shown;
    ReplayWatch viewer;
    FrameOptions options;
    InputSnapshot input;
    size_t next = 0;
    int64_t frame = 0;
    bool stopped = false;  // an ESC in the replay's input, or a replay that goes astray
    for (;;) {
        wait_for_tick();
        const InputSnapshot keys = read_input();
        if (keys.held[KEY_ESC] || close_requested) break;
        const int play = watch_replay_keys(viewer, keys, shown);
        if (play > 0 && frame < session.frames && !stopped) {
            ++frame;
            while (next < session.inputs.size() && session.inputs[next].frame <= frame)
                input = snapshot_of(session.inputs[next++]);
            stopped = input.held[KEY_ESC];
            if (!stopped) {
                options.sound = sound_output_wanted();
                run_frame(back_buffer, input, options);
                if (options.sound) play_frame_sound(watch.sound);
                stopped = replay_fault() != nullptr;
            }
        }
        // The note goes over a copy: the frame's own picture stays as the replay drew it.
        BITMAP* out = back_buffer;
        if (noted != nullptr &&
            (viewer.paused || frame >= session.frames || stopped || viewer.note_ticks > 0)) {
            char line[WATCH_LINE_SIZE];
            watch_line(viewer, frame, stopped ? frame : session.frames, line);
            blit(back_buffer, noted, 0, 0, 0, 0, field_w_px, field_h_px);
            draw_watch_note(noted, line);
            out = noted;
        }
        blit(out, screen, 0, 0, 0, 0, field_w_px, field_h_px);
    }
    file_requests.keep_drawn = nullptr;
    for (BITMAP* b : {shown, noted}) {
        if (b != nullptr) destroy_bitmap(b);
    }
}

int run_simulation(int argc, char** argv) {
    RunDef def = default_run_def();
    def.program = PROGRAM_NAME;
    def.display = DISPLAY;
    if (!read_window_options(argc, argv, PROGRAM_NAME, def)) return 2;
    // The file to open, read before anything of the library starts: a bad one opens no window.
    const std::string file = file_argument(argc, argv);
    OpenedFile opened;
    if (!file.empty()) read_file_argument(PROGRAM_NAME, file, opened);
    // The second alone gave two windows started together the same swarms: the clock's
    // nanoseconds and the process number tell them apart.
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    def.seed = static_cast<uint32_t>(now.tv_sec) ^ static_cast<uint32_t>(now.tv_nsec) ^
               static_cast<uint32_t>(getpid()) << 16;
    Run run;
    start_run(def, run);
    BITMAP* back_buffer = run.back_buffer;

    if (!start_pacing(FRAMES_PER_SECOND)) {
        allegro_message("%s cannot start: the frame timer cannot be installed.\n", PROGRAM_NAME);
        return 1;
    }
    set_close_button_callback(request_close);
    catch_quit_signals();
    take_over_window_events();
    // Before the sound's thread starts, which also quiets ALSA's messages.
    open_midi_port();
    start_sound_output();

    const bool replay = !file.empty() && opened.kind == OpenedKind::REPLAY;
    if (replay) {
        replay_session(opened.session, "");
    } else if (!file.empty()) {
        take_opened_swarms(file, opened);
    }
    char lines[2][160];
    const int line_count = opened_title_lines(file, opened, lines);
    const char* line_texts[2] = {lines[0], lines[1]};
    if (show_title(back_buffer, line_texts, line_count)) {
        if (replay) {
            watch_replay_loop(back_buffer, opened.session);
        } else {
            run_frame_loop(back_buffer, instruments);
        }
    }
    close_instruments(PROGRAM_NAME, instruments);

    close_midi_port();
    stop_sound_output();
    stop_pacing();
    shutdown_system();
    return 0;
}

int main(int argc, char** argv) {
    int status = 0;
    if (answer_command_line(argc, argv, PROGRAM_NAME, LUMORA_VERSION, status)) return status;
    InstrumentOptions osc;
    std::string error;
    if (!read_instrument_options(argc, argv, osc, error)) {
        std::fprintf(stderr, "%s: %s\n", PROGRAM_NAME, error.c_str());
        return 2;
    }
    if (!open_instruments(PROGRAM_NAME, osc, instruments)) return 2;
    return run_simulation(argc, argv);
}
END_OF_MAIN()
