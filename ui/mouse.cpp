#include "ui/mouse.h"

#include <cstdint>

#include "render/cursor.h"
#include "render/media.h"
#include "sim/geometry.h"
#include "sim/world.h"
#include "ui/input.h"
#include "ui/interface_state.h"
#include "ui/keyboard.h"

void apply_tool_field(int tool, int mx, int my) {
    const float to_x = static_cast<float>(mx);
    const float to_y = static_cast<float>(my);
    for (int i = 0; i < firefly_capacity; ++i) {
        Firefly& f = fireflies[i];
        if (!is_live(f)) continue;
        int d, b;
        distance_and_bearing(d, b, f.x, f.y, to_x, to_y);
        if (d >= TOOL_RADIUS) continue;
        // b points from the firefly to the mouse; the push fades linearly to the edge.
        const float push =
            static_cast<float>(TOOL_STRENGTH * (1.0 - d / static_cast<double>(TOOL_RADIUS)));
        int angle = b;
        if (tool == TOOL_REPEL) angle = b + 180;
        if (tool == TOOL_SWIRL_CW) angle = b - 90;
        if (tool == TOOL_SWIRL_CCW) angle = b + 90;
        step_polar(f.x, f.y, angle, push);
    }
}

void draw_mouse_cursor(BITMAP* target, const InputSnapshot& input) {
    if (mouse_idle_frames >= CURSOR_IDLE_FRAMES) return;
    const Swarm* spark = mouse_tool == TOOL_LURE ? &swarms[selected_swarm] : nullptr;
    draw_cursor(target, cursor_images[mouse_tool], input.mouse_x, input.mouse_y, spark);
}

void handle_mouse(const InputSnapshot& input) {
    const int mx = input.mouse_x;
    const int my = input.mouse_y;

    // Keeps the count of a hidden cursor from growing without end.
    if (mouse_idle_frames >= CURSOR_IDLE_FRAMES) mouse_idle_frames = 1000;

    if (input.mouse_b & MOUSE_LEFT) {
        if (mouse_tool == TOOL_LURE) {
            // Only three fields change: the lure keeps whatever heading, speed and phases the
            // slot held, also when it was free.
            fireflies[0].swarm = static_cast<float>(selected_swarm);
            fireflies[0].x = static_cast<float>(mx);
            fireflies[0].y = static_cast<float>(my);
        } else {
            apply_tool_field(mouse_tool, mx, my);
        }
    }

    // Shares the keyboard's counter, which has already counted this frame.
    if ((input.mouse_b & MOUSE_RIGHT) && key_cooldown > KEY_REPEAT_FRAMES) {
        ++mouse_tool;
        key_cooldown = 0;
    }
    if (mouse_tool > TOOL_SWIRL_CCW) mouse_tool = TOOL_LURE;

    if (mx == last_mouse_x && my == last_mouse_y) {
        ++mouse_idle_frames;
    } else {
        mouse_idle_frames = 0;
    }
    last_mouse_x = mx;
    last_mouse_y = my;
}
