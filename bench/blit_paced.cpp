// The least a paced window can cost: the same 1024 by 768 window as lumora and the same pacing,
// but each frame only copies a ready picture to the window. bench/cpu measures it beside
// lumora. ESC or the close button ends it.
// Usage: blit-paced
#include <allegro.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "app/pacing.h"
#include "app/window_events.h"

constexpr int WIDTH_PX = 1024;
constexpr int HEIGHT_PX = 768;
constexpr int FRAMES_PER_SECOND = 60;

static std::atomic<bool> close_requested{false};

static void request_close() {
    close_requested = true;
    stop_waiting();
}

int main() {
    if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0) {
        std::fprintf(stderr, "blit-paced cannot start: no display to open a window on\n");
        return 255;
    }
    int depth = desktop_color_depth();
    if (depth == 0) depth = 32;
    set_color_depth(depth);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, WIDTH_PX, HEIGHT_PX, 0, 0) != 0) {
        std::fprintf(stderr, "blit-paced cannot start: %s\n", allegro_error);
        return 255;
    }
    // The title starts with the program's name, where the end-to-end helpers look for it.
    set_window_title("lumora blit-paced");
    install_timer();
    install_keyboard();
    install_mouse();

    // A picture that is not one colour, so nothing along the way can take a shortcut.
    BITMAP* picture = create_bitmap(WIDTH_PX, HEIGHT_PX);
    if (picture == nullptr) return 1;
    for (int y = 0; y < HEIGHT_PX; ++y) {
        hline(picture, 0, y, WIDTH_PX - 1, makecol(y / 3, 64, 255 - y / 3));
    }

    if (!start_pacing(FRAMES_PER_SECOND)) return 1;
    set_close_button_callback(request_close);
    take_over_window_events();
    for (;;) {
        wait_for_tick();
        if (keyboard_needs_poll()) poll_keyboard();
        if (key[KEY_ESC] || close_requested) break;
        blit(picture, screen, 0, 0, 0, 0, WIDTH_PX, HEIGHT_PX);
    }
    stop_pacing();
    destroy_bitmap(picture);
    return 0;
}
END_OF_MAIN()
