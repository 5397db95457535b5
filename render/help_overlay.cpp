#include "render/help_overlay.h"

#include <allegro.h>

#include "render/overlay_place.h"

namespace {

// A line of the help: what to press and what it does. A line without an action is a heading.
struct HelpLine {
    const char* keys;
    const char* action;
};

const HelpLine HELP_LINES[] = {
    {"KEYS", nullptr},
    {"SPACE", "leave the title screen"},
    {"hold SPACE", "light trails: the picture is not cleared"},
    {"ENTER", "show or hide the settings panel"},
    {"PgDn / PgUp", "next / previous swarm on the panel"},
    {"DOWN / UP, keypad 2 / 8", "next / previous panel row"},
    {"RIGHT / LEFT", "raise / lower the value by 1"},
    {"keypad 6 / keypad 4", "raise / lower the value by 10"},
    {"S", "save all swarms to lmr.sav"},
    {"L", "load all swarms from lmr.sav"},
    {"1 to 9", "load preset 1 to 9"},
    {"P", "pause or resume the flight"},
    {"D", "full glow or cheap 3 by 3 glow"},
    {"G", "show or hide the synchrony graph"},
    {"M", "switch the sound off or on"},
    {"F1", "show or hide this help"},
    {"F12", "save the picture: lumora-0001.png, ..."},
    {"F9", "keep a replay: lumora-0001.replay, ..."},
    {"R / X", "random swarms / mutate the panel's swarm"},
    {"Z / Y", "undo / redo a change of the swarms"},
    {"N", "one frame while paused"},
    {"ESC", "quit"},
    {"lumora FILE", "open settings, a picture or a replay"},
    {"", ""},
    {"MOUSE", nullptr},
    {"left button", "apply the tool the cursor shows"},
    {"right button", "next tool"},
    {"lure", "a firefly of the panel's swarm at the mouse"},
    {"repel", "push fireflies within 200 pixels away"},
    {"attract", "pull fireflies within 200 pixels in"},
    {"swirl clockwise", "push them round the mouse clockwise"},
    {"swirl counter-clockwise", "push them round the other way"},
    {"", ""},
    {"SYNCHRONY GRAPH", nullptr},
    {"s>t", "swarm s chases swarm t"},
    {"ord", "its order: 1 all blink as one, 0 spread out"},
    {"lock", "the order of the swarm and t together"},
    {"line, light band", "the mean and range of every six frames"},
    {"dotted line", "0.9: held for 120 frames, a swarm is in step"},
    {"all fireflies", "the order of every firefly together"},
};

constexpr int LINE_PX = 12;
constexpr int MARGIN_PX = 14;
constexpr int ACTION_X = HELP_LEFT + MARGIN_PX + 25 * 6;  // after 25 characters of keys
constexpr int HELP_LINE_COUNT = sizeof HELP_LINES / sizeof HELP_LINES[0];
// A new line must grow the box: the last line's letters (8 pixels) stay inside the margin.
static_assert(HELP_TOP + MARGIN_PX + (HELP_LINE_COUNT - 1) * LINE_PX + 8 <= HELP_BOTTOM - 8,
              "the help's lines run out of its box");

}  // namespace

void draw_help(BITMAP* bmp, int scale) {
    const OverlayPlace p = overlay_place(bmp->w, bmp->h, scale, Anchor::CENTRE);
    place_darken_box(bmp, p, HELP_LEFT, HELP_TOP, HELP_RIGHT, HELP_BOTTOM);
    place_rect(bmp, p, HELP_LEFT, HELP_TOP, HELP_RIGHT, HELP_BOTTOM, makecol(90, 140, 100));
    const int gold = makecol(255, 214, 110);
    const int white = makecol(225, 230, 236);
    const int green = makecol(140, 230, 150);
    place_text(bmp, p, "F1 closes", HELP_RIGHT - MARGIN_PX, HELP_TOP + MARGIN_PX,
               makecol(150, 150, 150), Align::RIGHT);
    int y = HELP_TOP + MARGIN_PX;
    for (const HelpLine& line : HELP_LINES) {
        const int x = HELP_LEFT + MARGIN_PX;
        if (line.action == nullptr) {
            place_text(bmp, p, line.keys, x, y, green);
        } else {
            place_text(bmp, p, line.keys, x, y, gold);
            place_text(bmp, p, line.action, ACTION_X, y, white);
        }
        y += LINE_PX;
    }
}
