#include <allegro.h>

#include "app/file_places.h"
#include "app/shell.h"
#include "render/glow.h"
#include "render/help_overlay.h"
#include "render/overlay_place.h"
#include "render/panel.h"
#include "render/status_line.h"
#include "render/sync_graph.h"
#include "sim/population.h"
#include "sim/simulation_step.h"
#include "sim/world.h"
#include "ui/explore.h"
#include "ui/file_requests.h"
#include "ui/input.h"
#include "ui/interface_state.h"
#include "ui/keyboard.h"
#include "ui/mouse.h"
#include "ui/remote_control.h"
#include "ui/session.h"
#include "ui/settings_file.h"
#include "ui/undo.h"

bool reset_world() {
    // Freeing writes only the swarm number; the rest of each slot stays as it was.
    for (int i = 0; i < firefly_capacity; ++i) fireflies[i].swarm = 0.0f;
    const FilePlaces& p = file_places;
    return load_swarms((p.startup_settings.empty() ? p.settings_path : p.startup_settings).c_str());
}

FrameWatch watch;

void clear_program_state() {
    clear_world();
    watch = FrameWatch{};
    forget_sound();
    clear_interface();
    file_requests = FileRequests{};
    undo_history = UndoHistory{};
    explore_random = ExploreRandom{};
    end_session();
    file_places = FilePlaces{};
}

// The status message is shown for as many frames as are left.
static void show_status_line(BITMAP* back_buffer, bool draw, int scale) {
    if (status_frames <= 0) return;
    if (draw) draw_status_line(back_buffer, status_text, scale);
    --status_frames;
}

void run_frame(BITMAP* back_buffer, const InputSnapshot& input, const FrameOptions& options) {
    keep_frame_input(input);
    // Before the keys, as the keys of the frame before would have acted.
    const RemoteCommand* remote = nullptr;
    const int remote_count = frame_remote_commands(input, remote);
    act_on_remote(remote, remote_count);
    // While SPACE is held the last picture stays and this frame's light adds to it: trails.
    // The fast path copies the background later, together with the light: nothing reads or
    // writes the picture in between.
    BITMAP* deferred_background = nullptr;
    if (options.draw && !input.held[KEY_SPACE]) {
        if (!options.reference) deferred_background = plain_background();
        if (deferred_background == nullptr) draw_background(back_buffer, options.reference);
    }
    // S and L come first among the keys: a value edited in the same frame goes into the table
    // a load brings, and a message of P or D in the same frame is the one shown.
    ask_for_files(input);
    serve_file_requests(FileMoment::KEYS);
    handle_keyboard(input);
    // Population control runs while paused too, so a changed population shows at once. N flies
    // a paused flight's one frame, which is then drawn, measured and heard as any other.
    const bool flying = paused == 0 || additions.step_once;
    additions.step_once = false;
    update_populations(options.reference);
    if (flying) run_simulation_step(options.reference);
    if (options.draw) {
        if (options.reference) {
            draw_fireflies(back_buffer, low_detail != 0);
        } else {
            draw_fireflies_fast(back_buffer, low_detail != 0, deferred_background);
        }
    }
    // What is drawn over the fireflies grows with the field, to stay readable on a big screen.
    const int scale = overlay_scale(field_h_px);
    if (options.draw && panel_visible != 0)
        draw_panel(back_buffer, selected_swarm, selected_row, scale);
    if (options.draw && additions.graph_visible != 0)
        draw_sync_graph(back_buffer, watch.order_history, watch.synchrony, scale);
    if (options.draw && additions.help_visible != 0) draw_help(back_buffer, scale);
    show_status_line(back_buffer, options.draw, scale);
    // The picture the user asked for is the one they see, without the cursor drawn next.
    serve_file_requests(FileMoment::DRAWN, options.draw ? back_buffer : nullptr);
    if (options.draw) draw_mouse_cursor(back_buffer, input);
    handle_mouse(input);
    measure_synchrony(watch.synchrony);
    // The graph stands still while the flight does.
    if (flying) record_order(watch.order_history, watch.synchrony);
    // From the table as the frame has left it.
    if (options.sound)
        make_frame_sound(watch.sound, additions.sound_on != 0,
                         static_cast<float>(additions.sound_volume) / SOUND_VOLUME_STEPS);
    else if (options.flashes)
        find_frame_peaks();
    // Last, so that the replay holds every outcome of this frame.
    serve_file_requests(FileMoment::DONE);
}
