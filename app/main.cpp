#include <allegro.h>

#include <atomic>
#include <cstdlib>

#include "app/shell.h"
#include "sim/world.h"
#include "ui/folders.h"
#include "ui/input.h"

constexpr int FRAMES_PER_SECOND = 60;

// Ticks of the frame timer not yet waited for, and a close request from the window.
static std::atomic<int> frame_ticks{0};
static std::atomic<bool> close_requested{false};

static void count_tick() { frame_ticks.fetch_add(1); }
END_OF_STATIC_FUNCTION(count_tick)

static void request_close() { close_requested = true; }

// Paces the loop at 60 frames a second: waits for the next tick, resting meanwhile. A frame
// that took longer than a tick is not made up for.
static void wait_for_frame_tick() {
    while (frame_ticks.load() == 0) rest(1);
    frame_ticks = 0;
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

static bool space_held() {
    if (keyboard_needs_poll()) poll_keyboard();
    return key[KEY_SPACE] != 0;
}

void shutdown_system() { clear_keybuf(); }

int run_simulation(int, char**) {
    init_system();

    BITMAP* back_buffer = create_bitmap(SCREEN_W_PX, SCREEN_H_PX);
    if (back_buffer == nullptr) {
        allegro_message("lumora cannot start: there is not enough memory for the picture.\n");
        return 1;
    }
    clear_bitmap(back_buffer);
    const char* failed = nullptr;
    if (!load_loop_pictures(media_dir, failed)) fail_to_start(failed);
    prepare_background();

    reset_world();

    set_close_button_callback(request_close);
    LOCK_FUNCTION(count_tick);
    install_int_ex(count_tick, BPS_TO_TIMER(FRAMES_PER_SECOND));

    stretch_sprite(back_buffer, title_image, 0, 0, SCREEN_W_PX, SCREEN_H_PX);
    blit(back_buffer, screen, 0, 0, 0, 0, SCREEN_W_PX, SCREEN_H_PX);
    while (!space_held() && !close_requested) rest(10);

    if (!close_requested) {
        // The first frame starts from a clean background even while SPACE is still held.
        draw_background(back_buffer);
        const FrameOptions options;
        for (;;) {
            wait_for_frame_tick();
            const InputSnapshot input = read_input();
            if (input.held[KEY_ESC] || close_requested) break;
            run_frame(back_buffer, input, options);
            blit(back_buffer, screen, 0, 0, 0, 0, SCREEN_W_PX, SCREEN_H_PX);
        }
    }

    destroy_bitmap(back_buffer);
    shutdown_system();
    return 0;
}

int main(int argc, char** argv) { return run_simulation(argc, argv); }
END_OF_MAIN()
